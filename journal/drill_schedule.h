#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/challenge.h"
#include "engine/square.h"
#include "journal/journal_record.h"

namespace saltor {

// A position the player once lost a tour from: the squares before the losing move, the
// challenge, the move that lost, and where the drill stands in the schedule.
struct Drill {
    std::vector<Square> position;
    Challenge challenge;
    Square losingMove = NoSquare;
    int32_t box = 1;     // 1 .. kBoxCount
    int32_t dueDay = 0;  // days since 1970-01-01
};

// Leitner boxes: a drill got right moves to the next box, one got wrong back to the first; a
// drill in box b comes back kBoxDays[b - 1] days after its last answer (the first box: at the
// next session).
inline constexpr int32_t kBoxCount = 5;
inline constexpr int32_t kBoxDays[kBoxCount] = {0, 1, 3, 7, 15};

// The schedule file beside the journal.
inline constexpr std::wstring_view kDrillHeader = L"position\tdéfi\tcoup_perdu\tboîte\téchéance";
std::wstring FormatDrills(const std::vector<Drill>& drills);
// Damaged lines are skipped.
std::vector<Drill> ParseDrills(std::wstring_view text);

// Adds a drill, due `today`, for each game of the journal lost at a move after its first and not
// already scheduled; true when it added any.
bool AddDrillsFromJournal(std::vector<Drill>& drills, const std::vector<JournalRecord>& journal,
                          int32_t today);
// The drills due on `today`, soonest due first.
std::vector<size_t> DueDrills(const std::vector<Drill>& drills, int32_t today);
void ScheduleAnswer(Drill& drill, bool right, int32_t today);
// Puts `drill` in place of the schedule's drill of the same position and challenge, or at its end.
void PutDrill(std::vector<Drill>& drills, const Drill& drill);

}  // namespace saltor
