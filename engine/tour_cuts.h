#pragma once

#include <cstdint>

namespace saltor {

// Why a position can no longer be completed.
enum class Cut {
    None,              // it may be: only a search can tell
    NoWayOn,           // the knight, or the square before a forced last one, has no way on
    TwoLastSquares,    // two unvisited squares could each only be the last of the tour
    LastSquareColour,  // the only square that could be last has the wrong colour
    ForcedThrough,     // a square that neighbours with only two ways would all have to pass through
    Split,             // the unvisited squares fall apart into pieces the knight cannot join
    Unreachable,       // an unvisited square has no unvisited neighbour and is not the knight's
    // Reasons only a challenge has (a closed tour, or a chosen arrival):
    EndVisited,      // no square the tour may end on is still free
    EndColour,       // those still free have the colour the last square cannot have
    EndCutOff,       // the one it may end on has no way in left
    LastNotAllowed,  // a square that could only be last is not one the tour may end on
    // Only a chain of forced steps meets this one:
    Loop,  // a square must be passed through between the two ends of one piece of path
};

// A reason that shows without searching, with the squares it is about.
struct CutReason {
    Cut cut = Cut::None;
    uint64_t squares = 0;
    int parts = 0;    // for Split: into how many pieces
    int square = -1;  // the square it turns on: the knight's, the one that could only be last,
                      // the one forced squares would all pass through (the knight's if beside it)
};

// Whether a knight's path starting at `from` can still visit every square outside `visited`
// exactly once, ending on one of `lastSquares`, by reasoning that needs no search. `visited`
// holds `from`. A cut is always right, so the search may drop such a branch unseen without
// changing which tour it meets first.
Cut CannotComplete(uint64_t visited, int from, uint64_t lastSquares = ~uint64_t{0});

// The same reasoning for a player: the first of these that holds, with the squares it names.
// No way on (the knight's square); with a challenge, no free square it may end on (those it
// may end on), none of the right colour (those), the one it may end on cut off (it); squares
// no move can reach (those); two or more squares that could only be last (those); the one that
// could only be last, of the wrong colour (it), or not one the tour may end on (it); the
// unvisited squares split (the smallest piece); a square that squares with two ways each would
// all have to pass through (it and them), or two of them beside the knight (them). None when
// none holds: the position may still be lost, for a reason a search has to find.
CutReason ExplainCut(uint64_t visited, int from, uint64_t lastSquares = ~uint64_t{0});

}  // namespace saltor
