#include "journal/game_record.h"

#include <optional>
#include <span>
#include <utility>

#include "engine/first_lost_move.h"

namespace saltor {

JournalRecord GameRecord(const TourState& tour, int32_t hints, GameIssue issue, std::wstring start,
                         int64_t seconds, std::wstring_view mode, SearchHost& host) {
    JournalRecord r;
    r.start = std::move(start);
    r.seconds = seconds;
    r.challenge = tour.challenge;
    r.mode = mode;
    r.issue = issue;
    r.moves = tour.movesPlayed;
    r.errors = tour.errorCount;
    r.hints = hints;
    r.path.assign(tour.moves.begin(), tour.moves.begin() + tour.SquaresOnBoard());
    // The judge's mark is a lost position, maybe not the first one when it was off for a while:
    // the search goes no further than it.
    const int judged = tour.firstLostMove == NoMark ? 0 : tour.firstLostMove + 1;
    const size_t searched = judged == 0 ? r.path.size() : static_cast<size_t>(judged);
    std::optional<int> exact = FirstLostMove(std::span<const Square>(r.path.data(), searched),
                                             tour.challenge, host, kFirstLostBudgetMs);
    if (exact == 0 && judged != 0) {
        // A mark kept from another challenge, under which that position was lost: the whole game.
        exact = FirstLostMove(r.path, tour.challenge, host, kFirstLostBudgetMs);
    }
    r.firstLostMove = exact.value_or(judged);
    return r;
}

}  // namespace saltor
