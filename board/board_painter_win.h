#pragma once

#include <windows.h>

#include "board/board_game.h"
#include "settings/app_settings.h"

namespace saltor {

// The board's image cache (texture tile and knight picture), board/image_cache_win.h. Painting
// without it draws the plain colours and no knight.
class BoardImages;

int PaintBoard(HDC dc, const BoardGame& game, const AppSettings& settings,
               const BoardImages* images = nullptr);

void DrawThumbsUp(HDC dc, const RECT& square, COLORREF color, COLORREF outline);

}  // namespace saltor
