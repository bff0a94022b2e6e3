#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/first_lost_move.h"
#include "engine/search_host.h"
#include "engine/tour_state.h"
#include "journal/journal_record.h"

namespace saltor {

// The journal's record of a game that has just ended. Its first lost move is judged exactly,
// up to the judge's own mark when it set one, within kFirstLostBudgetMs of the host's clock;
// out of time, it is the judge's mark (0 without one).
JournalRecord GameRecord(const TourState& tour, int32_t hints, GameIssue issue, std::wstring start,
                         int64_t seconds, std::wstring_view mode, SearchHost& host);

}  // namespace saltor
