#include "engine/tour_cuts.h"

#include "engine/knight_bits.h"

namespace saltor {
namespace {

using namespace knight_bits;

// The squares with a knight neighbour in `squares` at least once, twice and three times.
struct NeighbourCounts {
    uint64_t once = 0, twice = 0, thrice = 0;
};

NeighbourCounts CountNeighbours(uint64_t squares) {
    const KnightShifts shifts(squares);
    NeighbourCounts counts;
    for (const uint64_t reached : shifts.to) {
        counts.thrice |= counts.twice & reached;
        counts.twice |= counts.once & reached;
        counts.once |= reached;
    }
    return counts;
}

// How many ways lead into and out of each square: its knight neighbours among `open` and the
// knight's square.
struct Ways {
    uint64_t twoOrMore;
    uint64_t threeOrMore;
};

Ways CountWays(uint64_t open, int from) {
    const NeighbourCounts counts = CountNeighbours(open);
    const uint64_t knight = KnightMoves[from];
    return {counts.twice | (counts.once & knight), counts.thrice | (counts.twice & knight)};
}

// Squares of `open` that the path cannot both enter and leave: fewer than two ways. Each of them
// can only be the last square of the path.
uint64_t OneWaySquares(uint64_t open, int from) {
    return open & ~CountWays(open, from).twoOrMore;
}

// The squares of `region` reachable from `square` through `region`.
uint64_t PieceOf(int square, uint64_t region) {
    uint64_t reached = Bit(square);
    while (reached != region) {
        const uint64_t next = reached | (KnightReach(reached) & region);
        if (next == reached) {
            break;
        }
        reached = next;
    }
    return reached;
}

// Whether every square of `region` can be reached from every other through `region`.
bool IsConnected(uint64_t region) {
    return region == 0 || PieceOf(Lowest(region), region) == region;
}

// The squares that must be entered and left by their only two ways: two ways, and not the last
// square (the known one, or any of the last square's colour while none is known).
uint64_t PassedThrough(uint64_t open, const Ways& ways, uint64_t lastOnly, uint64_t lastColour) {
    const uint64_t mayBeLast = lastOnly != 0 ? lastOnly : open & lastColour;
    return open & ways.twoOrMore & ~ways.threeOrMore & ~mayBeLast;
}

uint64_t LastColour(uint64_t open, int from) {
    const uint64_t knightColour = IsDark(from) ? DarkSquares : ~DarkSquares;
    return IsEvenCount(open) ? knightColour : ~knightColour;
}

// The challenge's own dead ends: no free square the tour may end on, none of the last
// square's colour, or a square that could only be last but may not be.
Cut ChallengeCut(uint64_t open, uint64_t lastColour, uint64_t lastOnly, uint64_t lastSquares) {
    if ((open & lastSquares) == 0) {
        return Cut::EndVisited;
    }
    if ((open & lastSquares & lastColour) == 0) {
        return Cut::EndColour;
    }
    return (lastOnly & ~lastSquares) != 0 ? Cut::LastNotAllowed : Cut::None;
}

}  // namespace

Cut CannotComplete(uint64_t visited, int from, uint64_t lastSquares) {
    uint64_t open = ~visited;
    if (!HasTwoOrMore(open)) {
        return Cut::None;  // the search itself places the last square
    }
    if ((KnightMoves[from] & open) == 0) {
        return Cut::NoWayOn;
    }
    // The path has one last square; every other square is entered and left again.
    const Ways ways = CountWays(open, from);
    const uint64_t lastOnly = open & ~ways.twoOrMore;
    if (HasTwoOrMore(lastOnly)) {
        return Cut::TwoLastSquares;
    }
    // Moves alternate between light and dark squares, so the number of squares left fixes the
    // colour of the last one: the colour of the knight's square when it is even.
    uint64_t lastColour = LastColour(open, from);
    if ((lastOnly & ~lastColour) != 0) {
        return Cut::LastSquareColour;
    }
    // A challenge narrows the squares that may be last; once one is left, it is the last.
    uint64_t knownLast = lastOnly;
    if (lastSquares != ~uint64_t{0}) {
        const Cut cut = ChallengeCut(open, lastColour, lastOnly, lastSquares);
        if (cut != Cut::None) {
            return cut;
        }
        lastColour &= lastSquares;
        if (!HasTwoOrMore(open & lastColour)) {
            knownLast = open & lastColour;
        }
    }
    // A square with exactly two ways that cannot be last takes both. No square can be passed
    // through from three such neighbours, the last square from two, the knight's square from two.
    const uint64_t passedThrough = PassedThrough(open, ways, knownLast, lastColour);
    const NeighbourCounts forced = CountNeighbours(passedThrough);
    if ((forced.thrice & open) != 0 || (forced.twice & knownLast) != 0 ||
        HasTwoOrMore(KnightMoves[from] & passedThrough)) {
        return Cut::ForcedThrough;
    }
    if (lastOnly != 0) {
        // That square ends the path, so its single neighbour comes just before it: take both
        // off and ask the same of what remains, with the path now ending at the neighbour. A
        // chain of such squares is taken off square by square.
        int last = Lowest(lastOnly);
        uint64_t before = KnightMoves[last] & open;
        open &= ~Bit(last);
        for (;;) {
            if (before == 0) {
                return Cut::NoWayOn;
            }
            last = Lowest(before);
            if (open == Bit(last)) {
                return (KnightMoves[from] & open) == 0 ? Cut::NoWayOn : Cut::None;
            }
            const uint64_t rest = open & ~Bit(last);
            if ((OneWaySquares(open, from) & rest) != 0) {
                return Cut::TwoLastSquares;
            }
            before = KnightMoves[last] & rest;
            if (HasTwoOrMore(before)) {
                break;
            }
            open = rest;
        }
        if ((KnightMoves[from] & open) == 0) {
            return Cut::NoWayOn;
        }
    }
    // The path is connected, so what it still has to visit must be.
    return IsConnected(open) ? Cut::None : Cut::Split;
}

CutReason ExplainCut(uint64_t visited, int from, uint64_t lastSquares) {
    const uint64_t open = ~visited;
    if (open == 0) {
        return {};
    }
    if ((KnightMoves[from] & open) == 0) {
        return {Cut::NoWayOn, Bit(from), 0, from};
    }
    const uint64_t unreachable = open & ~KnightReach(open) & ~KnightMoves[from];
    uint64_t lastColour = LastColour(open, from);
    if (lastSquares != ~uint64_t{0}) {
        const uint64_t freeEnds = open & lastSquares;
        if (freeEnds == 0) {
            return {Cut::EndVisited, lastSquares, 0, -1};
        }
        if ((freeEnds & lastColour) == 0) {
            return {Cut::EndColour, freeEnds, 0, Lowest(freeEnds)};
        }
        if (!HasTwoOrMore(freeEnds) && (freeEnds & unreachable) != 0) {
            return {Cut::EndCutOff, freeEnds, 0, Lowest(freeEnds)};
        }
    }
    if (!HasTwoOrMore(open)) {
        return {};
    }
    if (unreachable != 0) {
        return {Cut::Unreachable, unreachable, 0, -1};
    }
    const Ways ways = CountWays(open, from);
    const uint64_t lastOnly = open & ~ways.twoOrMore;
    if (HasTwoOrMore(lastOnly)) {
        return {Cut::TwoLastSquares, lastOnly, 0, -1};
    }
    if ((lastOnly & ~lastColour) != 0) {
        return {Cut::LastSquareColour, lastOnly, 0, Lowest(lastOnly)};
    }
    if ((lastOnly & ~lastSquares) != 0) {
        return {Cut::LastNotAllowed, lastOnly, 0, Lowest(lastOnly)};
    }
    lastColour &= lastSquares;
    if (!IsConnected(open)) {
        CutReason reason{Cut::Split, open, 0, -1};
        for (uint64_t rest = open; rest != 0; ++reason.parts) {
            const uint64_t piece = PieceOf(Lowest(rest), open);
            if (CountSquares(piece) < CountSquares(reason.squares)) {
                reason.squares = piece;
            }
            rest &= ~piece;
        }
        return reason;
    }
    const uint64_t passedThrough = PassedThrough(open, ways, lastOnly, lastColour);
    if (const uint64_t crowded = CountNeighbours(passedThrough).thrice & open) {
        const int square = Lowest(crowded);
        return {Cut::ForcedThrough, Bit(square) | (KnightMoves[square] & passedThrough), 0, square};
    }
    if (HasTwoOrMore(KnightMoves[from] & passedThrough)) {
        return {Cut::ForcedThrough, KnightMoves[from] & passedThrough, 0, from};
    }
    return {};
}

}  // namespace saltor
