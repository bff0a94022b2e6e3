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
};

// Whether a knight's path starting at `from` can still visit every square outside `visited`
// exactly once, by reasoning that needs no search. `visited` holds `from`. A cut is always
// right, so the search may drop such a branch unseen without changing which tour it meets first.
Cut CannotComplete(uint64_t visited, int from);

}  // namespace saltor
