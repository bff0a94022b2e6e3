#pragma once

#include <array>
#include <cstdint>

#include "engine/lost_positions.h"
#include "engine/search_host.h"
#include "engine/tour_prover.h"
#include "engine/tour_state.h"

namespace saltor {

struct SearchStats {
    uint64_t squaresPlaced = 0;
    uint64_t backups = 0;    // placed squares taken off again to try the next candidate
    uint64_t proofs = 0;     // positions handed to the prover
    uint64_t choices = 0;    // choices the prover made in them
    bool cancelled = false;  // the player's key or click stopped it
};

// The cuts that the search adds to the plain method: branches that provably hold no tour are
// dropped unsearched. The branches kept are walked in the same order, so the first tour met is
// the same; only the time to reach it, or to find that there is none, changes.
struct SearchCuts {
    bool enabled = true;
    // Positions found lost are remembered once a search has backed up this often: before that
    // the table costs more than it saves.
    uint64_t rememberAfterBackups = 4096;
    // Once a look in the plain order has placed this many squares without a verdict, the prover
    // decides the position, and the plain order's first tour is then walked square by square,
    // with a shorter look after each square. Zero keeps to the plain order however long it
    // takes.
    uint64_t proveAfterSquares = 512;
    uint64_t walkLookSquares = 128;

    static constexpr SearchCuts None() { return {false, 0, 0, 0}; }
};

// Depth-first search for a knight's tour that meets the tour's challenge, in Warnsdorff order
// (fewest onward moves first, ties in the fixed knight-move order), cut off where an unvisited
// square can no longer be reached, stopped by the time budget (tested only when backing up) or by
// the player's input.
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
    enum class Look { Found, Lost, Stopped, TooLong };

    bool Decide(uint64_t visited, int from);
    Look LookInOrder(uint64_t visited, int from, uint64_t squares);
    Proof Prove(uint64_t visited, int from, std::array<int8_t, 64>& path);
    void FinishWith(const std::array<int8_t, 64>& path, int depth);
    bool Search(uint64_t visited, int from);
    int NextCandidate(uint64_t visited, uint64_t tried, int from, int depth) const;
    void PollPlayer();
    bool ShouldStop();
    bool TimeIsUp();

    TourState& tour_;
    SearchHost& host_;
    const SearchCuts cuts_;
    uint32_t budgetMs_ = 0;
    uint64_t lastSquares_ = ~uint64_t{0};  // where the tour may end, by its challenge
    LostPositions lost_;
    SearchStats stats_;
    uint64_t squareLimit_ = UINT64_MAX;  // a look in the plain order stops here
    bool limitReached_ = false;
};

// Bit-set form of the isolation test: true when some square not in `visited` has no knight
// neighbour outside `visited`.
bool HasIsolatedSquare(uint64_t visited);

}  // namespace saltor
