#pragma once

#include <windows.h>

#include "board/board_game.h"

namespace saltor {

inline RECT ToRect(const PixelRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace saltor
