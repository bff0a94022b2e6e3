#pragma once

#include <cstdint>

#include "engine/tour_state.h"

namespace saltor::reference {

enum class Completion { Possible, Impossible, Unknown };

// Whether the knight on `knight` can still visit every unvisited square of `visits` once, found
// by trying every path. Written apart from the game's search on purpose. A branch is dropped
// when its unvisited squares are no longer all reachable from the knight, or when it reaches a
// position already known to fail; with `endRule`, also when more than one unvisited square
// could only end the path, or the one that could has the wrong colour or is not one of
// `lastSquares`; and always when none of `lastSquares` is left to end on. A path counts only if
// its last square is one of `lastSquares`. Unknown when more than `nodeLimit` squares would
// have to be tried.
Completion CanComplete(const VisitBoard& visits, Square knight, uint64_t nodeLimit,
                       bool endRule = true, uint64_t lastSquares = ~uint64_t{0});

}  // namespace saltor::reference
