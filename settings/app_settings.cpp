#include "settings/app_settings.h"

#include <algorithm>

#include "winkit/placement.h"

namespace saltor {

int MinCellSizeAt(int dpi) {
    return ScaleToDpi(kMinCellSize, dpi);
}

int RescaleCellSize(int cellSize, int fromDpi, int toDpi, int maxCellSize) {
    int scaled = cellSize;
    if (fromDpi > 0 && toDpi != fromDpi) {
        scaled =
            static_cast<int>((static_cast<long long>(cellSize) * toDpi + fromDpi / 2) / fromDpi);
    }
    return std::min(std::max(scaled, MinCellSizeAt(toDpi)), maxCellSize);
}

// Eight squares plus a caption, two frame edges and 7 pixels of slack must fit the work area.
// C++ division truncates toward zero, which is what a negative (absurd) height should give too.
int AppSettings::MaxCellSizeFor(int workAreaHeight, int dialogFrameHeight, int captionHeight) {
    return (workAreaHeight - 2 * dialogFrameHeight - captionHeight - 7) / 8;
}

}  // namespace saltor
