#include "engine/tour_search.h"

#include <bit>

#include "engine/knight_bits.h"
#include "engine/tour_cuts.h"

namespace saltor {
namespace {

using namespace knight_bits;

constexpr int NoIndex = -1;

// With fewer squares left a branch is searched again sooner than looked up.
constexpr int MinSquaresToRemember = 18;

}  // namespace

bool HasIsolatedSquare(uint64_t visited) {
    const uint64_t unvisited = ~visited;
    return (unvisited & ~KnightReach(unvisited)) != 0;
}

bool TourSearch::Solve(bool complete, uint32_t budgetMs) {
    TourState& t = tour_;
    if (t.IsComplete()) {
        return true;
    }
    if (complete ? t.moveCount == 0 : t.moveCount < 2) {
        return true;  // nothing to complete, or one square alone is never judged
    }
    if (t.firstLostMove < t.moveCount) {
        return false;  // already known to have no tour
    }
    budgetMs_ = budgetMs;
    lastSquares_ = AllowedLastSquares(t.challenge, t.moves[0]);
    t.searchPath = t.moves;
    t.searchDepth = t.moveCount - 1;
    t.searchStartTick = host_.TickCount();
    t.searchRunning = true;

    uint64_t visited = 0;
    for (int i = 0; i < 64; ++i) {
        if (t.visits[i] >= 0) {
            visited |= Bit(i);
        }
    }
    const int from = IndexOf(t.moves[t.moveCount - 1]);
    const bool found = cuts_.enabled && cuts_.proveAfterSquares != 0 ? Decide(visited, from)
                                                                     : Search(visited, from);
    if (found) {
        t.firstDoubtfulMove = NoMark;
    } else {
        // Still running means every branch was tried: the position is lost, not just doubtful.
        if (t.searchRunning) {
            t.firstLostMove = t.moveCount - 1;
        }
        if (t.firstDoubtfulMove == NoMark) {
            t.firstDoubtfulMove = t.moveCount - 1;
        }
        ++t.errorCount;
    }
    t.searchStartTick = 0;
    t.searchRunning = false;

    if (found && complete) {
        for (int i = 0; i < 64; ++i) {
            t.moves[i] = t.searchPath[i];
            t.visits[IndexOf(t.searchPath[i])] = i;
        }
        t.moveCount = TourComplete;
    }
    // Last, so that the board chooses its cursor from the tour as the search leaves it.
    host_.SearchEnded();
    return found;
}

// The plain order's first tour, whatever it would cost the plain search to reach it. A look in
// that order settles most positions at once. Past that, the prover decides the position; a found
// one is then walked square by square, each square being the first candidate in the plain
// order that the prover finds a tour after (the plain search would have found none in the
// candidates before it), with a fresh look in the plain order after each square.
bool TourSearch::Decide(uint64_t visited, int from) {
    TourState& t = tour_;
    Look look = LookInOrder(visited, from, cuts_.proveAfterSquares);
    if (look != Look::TooLong) {
        return look == Look::Found;
    }
    std::array<int8_t, 64> rest{};
    if (Prove(visited, from, rest) != Proof::Found) {
        return false;  // lost, or out of time: the tour's searchRunning tells which
    }
    for (int depth = t.moveCount;; ++depth) {
        uint64_t tried = 0;
        int next = NoIndex;
        for (;;) {
            const int candidate = NextCandidate(visited, tried, from, depth);
            std::array<int8_t, 64> after{};
            const Proof proof = candidate == NoIndex
                                    ? Proof::Stopped
                                    : Prove(visited | Bit(candidate), candidate, after);
            if (proof == Proof::Found) {
                next = candidate;
                rest = after;
                break;
            }
            if (proof == Proof::Stopped) {
                // Out of time on the way: a tour is known, just not the plain order's.
                FinishWith(rest, depth);
                return true;
            }
            tried |= Bit(candidate);
        }
        t.searchPath[depth] = SquareAt(next);
        visited |= Bit(next);
        from = next;
        t.searchDepth = depth;
        look = LookInOrder(visited, from, cuts_.walkLookSquares);
        if (look == Look::Found) {
            return true;
        }
        if (look != Look::TooLong) {
            FinishWith(rest, depth + 1);
            return true;
        }
    }
}

// The plain search from the position, stopped once it has placed `squares` more squares.
TourSearch::Look TourSearch::LookInOrder(uint64_t visited, int from, uint64_t squares) {
    squareLimit_ = stats_.squaresPlaced + squares;
    limitReached_ = false;
    const bool found = Search(visited, from);
    if (found) {
        return Look::Found;
    }
    if (limitReached_) {
        return Look::TooLong;
    }
    return tour_.searchRunning ? Look::Lost : Look::Stopped;
}

Proof TourSearch::Prove(uint64_t visited, int from, std::array<int8_t, 64>& path) {
    TourProver prover([this] {
        PollPlayer();
        return TimeIsUp();
    });
    const Proof proof = prover.Prove(visited, from, path, lastSquares_);
    ++stats_.proofs;
    stats_.choices += prover.Choices();
    return proof;
}

// Writes a tour's rest found by the prover from the square at `depth` - 1 on.
void TourSearch::FinishWith(const std::array<int8_t, 64>& path, int depth) {
    for (int i = 1; depth - 1 + i < 64; ++i) {
        tour_.searchPath[depth - 1 + i] = SquareAt(path[i]);
    }
}

bool TourSearch::Search(uint64_t visited, int from) {
    TourState& t = tour_;
    const int depth = ++t.searchDepth;
    if (depth >= 64) {
        return true;
    }
    const bool remember = cuts_.enabled && 64 - depth >= MinSquaresToRemember &&
                          stats_.backups >= cuts_.rememberAfterBackups;
    if (cuts_.enabled && (CannotComplete(visited, from, lastSquares_) != Cut::None ||
                          (remember && lost_.Contains(visited, from)))) {
        --t.searchDepth;
        return false;
    }
    uint64_t tried = 0;
    // The isolation test does not depend on the candidate, so one answer serves the level.
    const bool isolated = depth < 63 && HasIsolatedSquare(visited);
    for (;;) {
        const int candidate = NextCandidate(visited, tried, from, depth);
        if (candidate == NoIndex || isolated) {
            // Every branch tried, none completes: a fact about this position, whatever the path.
            if (remember) {
                lost_.Add(visited, from);
            }
            --t.searchDepth;
            return false;
        }
        t.searchPath[depth] = SquareAt(candidate);
        ++stats_.squaresPlaced;
        PollPlayer();
        if (Search(visited | Bit(candidate), candidate)) {
            return true;
        }
        if (ShouldStop()) {
            --t.searchDepth;
            return false;
        }
        tried |= Bit(candidate);
        ++stats_.backups;
    }
}

// Once per placed square: the player's key or click stops the search.
void TourSearch::PollPlayer() {
    if (host_.PollCancel()) {
        tour_.searchRunning = false;
        stats_.cancelled = true;
    }
    host_.ShowBusy();
}

// Read only when backing up: a search that goes straight to a tour never looks at the clock.
bool TourSearch::ShouldStop() {
    if (stats_.squaresPlaced >= squareLimit_) {
        limitReached_ = true;
        return true;
    }
    return TimeIsUp();
}

// Out of time or cancelled; from then on the search only unwinds.
bool TourSearch::TimeIsUp() {
    TourState& t = tour_;
    if (t.searchRunning &&
        static_cast<uint32_t>(host_.TickCount() - t.searchStartTick) > budgetMs_) {
        t.searchRunning = false;
    }
    if (!t.searchRunning) {
        t.searchStartTick = 0;
    }
    return !t.searchRunning;
}

int TourSearch::NextCandidate(uint64_t visited, uint64_t tried, int from, int depth) const {
    // With column-major indices the fixed knight-move order is the order of increasing index
    // (offsets -17, -15, -10, -6, +6, +10, +15, +17), so walking the bits low to high meets the
    // candidates in that order and a tie keeps the earlier one.
    uint64_t candidates = KnightMoves[from] & ~(visited | tried);
    if (candidates == 0) {
        return NoIndex;
    }
    if (depth == 63) {
        // The last square needs no onward move, only to be one the tour may end on.
        candidates &= lastSquares_;
        return candidates == 0 ? NoIndex : std::countr_zero(candidates);
    }
    int best = NoIndex;
    int bestDegree = 9;
    const uint64_t unvisited = ~visited;
    for (; candidates != 0; candidates &= candidates - 1) {
        const int square = std::countr_zero(candidates);
        // Squares this level already tried still count as onward moves: they are unvisited.
        const int degree = CountSquares(KnightMoves[square] & unvisited);
        if (degree != 0 && degree < bestDegree) {
            best = square;
            bestDegree = degree;
        }
    }
    return best;
}

}  // namespace saltor
