#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal_record.h"

namespace saltor {

// One point of the progress plot: a day, or a game when the journal covers few days.
struct ProgressPoint {
    std::wstring label;  // "07/12", or "partie 3"
    int32_t games = 0;
    int32_t cleanTours = 0;  // tours the player completed without an error
    int32_t errors = 0;
    int32_t drills = 0;
    int32_t drillsRight = 0;

    double ErrorsPerGame() const { return games == 0 ? 0.0 : double(errors) / games; }
    // Percent; nothing to show (-1) without drills.
    double DrillSuccess() const { return drills == 0 ? -1.0 : 100.0 * drillsRight / drills; }
};

// The last `days` days up to `today` that hold a game or a drill; when fewer than
// kFewDays of them do, one point per game of that period instead, each with the drills answered
// after it until the next game (those before the first game go with the first), for the last
// kMostGames games.
inline constexpr int32_t kProgressDays = 28;
inline constexpr int32_t kFewDays = 3;
inline constexpr size_t kMostGames = 50;
std::vector<ProgressPoint> ProgressSeries(const std::vector<JournalRecord>& journal, int32_t today,
                                          int32_t days = kProgressDays);

}  // namespace saltor
