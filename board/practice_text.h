#pragma once

#include <string>

#include "board/board_game.h"

namespace saltor {

// The status line under the column, in French: the move, the knight's square and its free jumps,
// then, when the marks are on show, the judge's verdict and its sentence. Blind, it names the
// knight's square and never the visited ones.
std::wstring StatusText(const BoardGame& game);

// The review at the end of a practice game: how it ended, the squares visited, the moves and the
// slips, and the first move the judge found lost with the explanation its mark gives.
std::wstring ReviewText(const BoardGame& game);

}  // namespace saltor
