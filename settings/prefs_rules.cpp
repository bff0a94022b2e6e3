#include "settings/prefs_rules.h"

#include <algorithm>

#include "settings/app_settings.h"

namespace saltor {

uint32_t CalcDurationFromText(std::wstring_view text) {
    if (text.empty()) {
        return kMinCalcDuration;
    }
    uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return kMinCalcDuration;
        }
        value = value * 10 + static_cast<uint64_t>(c - L'0');
        if (value > UINT32_MAX) {
            return kMinCalcDuration;
        }
    }
    return value < kMinCalcDuration ? kMinCalcDuration : static_cast<uint32_t>(value);
}

CellSizeRange CellSizeRangeFor(int maxCellSize, int minCellSize) {
    // A board needs at least one pixel per square, whatever an absurd work area says.
    const int high = std::max(maxCellSize, 1);
    return {std::min(minCellSize, high), high};
}

}  // namespace saltor
