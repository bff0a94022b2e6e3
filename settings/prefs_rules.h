#pragma once

#include <cstdint>
#include <string_view>

#include "settings/app_settings.h"

namespace saltor {

// The calculation time below which a move gets too little search to be worth judging.
inline constexpr uint32_t kMinCalcDuration = 100;

// The calculation time typed by the player: a decimal that fits 32 bits unsigned, at least
// kMinCalcDuration; anything else (empty, other characters, too large, too small) gives the
// minimum.
uint32_t CalcDurationFromText(std::wstring_view text);

struct CellSizeRange {
    int low = 0;
    int high = 0;
};

// The square sizes offered by the Preferences slider: the smallest for the display scale up to
// what fits the screen. On a screen too low for the smallest the range shrinks to the one size
// that fits, which is also what loading the settings gives, so the slider never has its ends the
// wrong way round.
CellSizeRange CellSizeRangeFor(int maxCellSize, int minCellSize = kMinCellSize);

}  // namespace saltor
