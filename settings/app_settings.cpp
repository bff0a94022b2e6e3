#include "settings/app_settings.h"

namespace saltor {

// Eight squares plus a caption, two frame edges and 7 pixels of slack must fit the work area.
// C++ division truncates toward zero, which is what a negative (absurd) height should give too.
int AppSettings::MaxCellSizeFor(int workAreaHeight, int dialogFrameHeight, int captionHeight) {
    return (workAreaHeight - 2 * dialogFrameHeight - captionHeight - 7) / 8;
}

}  // namespace saltor
