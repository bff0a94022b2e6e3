#pragma once

#include <cstdint>

#include "engine/lost_positions.h"
#include "engine/search_host.h"
#include "engine/tour_state.h"

namespace saltor {

struct SearchStats {
    uint64_t squaresPlaced = 0;
    uint64_t backups = 0;  // placed squares taken off again to try the next candidate
    uint64_t cuts = 0;     // branches dropped unsearched
};

// The cuts that the search adds to the plain method: branches that provably hold no tour are
// dropped unsearched. The branches kept are walked in the same order, so the first tour met is
// the same; only the time to reach it, or to find that there is none, changes.
struct SearchCuts {
    bool enabled = true;
    // Positions found lost are remembered once a search has backed up this often: before that
    // the table costs more than it saves.
    uint64_t rememberAfterBackups = 4096;

    static constexpr SearchCuts None() { return {false, 0}; }
};

// Depth-first knight's-tour search in Warnsdorff order (fewest onward moves first, ties in the
// fixed knight-move order), cut off where an unvisited square can no longer be reached, stopped
// by the time budget (tested only when backing up) or by the player's input.
//
// Each level keeps the board as bit sets instead of a copied array of visit numbers: the visited
// squares, and the squares this level has already tried. That is all the search ever reads of
// its private boards, so the squares it tries, the order and the results are unchanged.
class TourSearch {
public:
    TourSearch(TourState& tour, SearchHost& host, SearchCuts cuts = {})
        : tour_(tour), host_(host), cuts_(cuts) {}

    // True when a tour exists from the current position (written into the tour when `complete`)
    // or when there is nothing to judge. Records the verdict in the tour's marks and counters.
    bool Solve(bool complete, uint32_t budgetMs);

    const SearchStats& Stats() const { return stats_; }

private:
    bool Search(uint64_t visited, int from);
    int NextCandidate(uint64_t visited, uint64_t tried, int from, int depth) const;
    bool ShouldStop();

    TourState& tour_;
    SearchHost& host_;
    const SearchCuts cuts_;
    uint32_t budgetMs_ = 0;
    LostPositions lost_;
    SearchStats stats_;
};

// Bit-set form of the isolation test: true when some square not in `visited` has no knight
// neighbour outside `visited`.
bool HasIsolatedSquare(uint64_t visited);

}  // namespace saltor
