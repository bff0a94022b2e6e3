#include "engine/tour_cuts.h"

#include <bit>

#include "engine/knight_bits.h"

namespace saltor {
namespace {

using namespace knight_bits;

// Squares of `open` that the path cannot both enter and leave: fewer than two neighbours among
// `open` and the knight's square. Each of them can only be the last square of the path.
uint64_t OneWaySquares(uint64_t open, int from) {
    const uint64_t entries = KnightMoves[from] & open;
    return open & ~(KnightReachTwice(open) | (KnightReach(open) & entries));
}

bool IsConnected(uint64_t region) {
    uint64_t reached = region & (~region + 1);
    for (;;) {
        const uint64_t next = reached | (KnightReach(reached) & region);
        if (next == reached) {
            return true;
        }
        if (next == region) {
            return true;
        }
        reached = next;
    }
}

}  // namespace

bool CannotComplete(uint64_t visited, int from) {
    uint64_t open = ~visited;
    if (std::popcount(open) < 2) {
        return false;  // the search itself places the last square
    }
    if ((KnightMoves[from] & open) == 0) {
        return true;
    }
    // The path has one last square; every other square is entered and left again.
    const uint64_t lastOnly = OneWaySquares(open, from);
    if (std::popcount(lastOnly) >= 2) {
        return true;
    }
    if (lastOnly != 0) {
        // Moves alternate between light and dark squares, so the number of squares left fixes
        // the colour of the last one: the colour of the knight's square when it is even.
        const uint64_t knightColour = IsDark(from) ? DarkSquares : ~DarkSquares;
        const uint64_t lastColour = std::popcount(open) % 2 == 0 ? knightColour : ~knightColour;
        if ((lastOnly & lastColour) == 0) {
            return true;
        }
        // That square ends the path, so its single neighbour comes just before it: take both
        // off and ask the same of what remains, with the path now ending at the neighbour. A
        // chain of such squares is taken off square by square.
        int last = std::countr_zero(lastOnly);
        uint64_t before = KnightMoves[last] & open;
        if (before == 0) {
            return true;  // cannot be reached at all
        }
        open &= ~Bit(last);
        for (;;) {
            last = std::countr_zero(before);
            if (open == Bit(last)) {
                return (KnightMoves[from] & open) == 0;
            }
            const uint64_t rest = open & ~Bit(last);
            if ((OneWaySquares(open, from) & rest) != 0) {
                return true;  // another square that could only be last
            }
            before = KnightMoves[last] & rest;
            if (before == 0) {
                return true;
            }
            if (std::popcount(before) > 1) {
                break;
            }
            open = rest;
        }
    }
    // The path is connected, so what it still has to visit must be, and reachable from the start.
    return (KnightMoves[from] & open) == 0 || !IsConnected(open);
}

}  // namespace saltor
