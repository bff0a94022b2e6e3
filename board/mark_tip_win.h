#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "board/board_game.h"
#include "winkit/handles_win.h"

namespace saltor {

// The tooltip of the board's judgement marks: resting on a marked square, the player reads why
// the move was judged so, and meanwhile the board outlines the squares the explanation names.
class CMarkTip {
public:
    // Made when the board window is; its tool covers no square until the pointer meets a mark.
    void Create(HWND board);
    void Destroy() { tooltip_.Reset(); }

    // The pointer moved to `s` (the board's WM_MOUSEMOVE, passed on): the tip takes that
    // square's explanation, or none.
    void Follow(const BoardGame& game, Square s, WPARAM wParam, LPARAM lParam);
    // The tour, the marks' visibility or the square size changed: the tip and its outlines go,
    // and the next move of the pointer asks again.
    void Forget(BoardGame& game);
    // The tip's notifications, which reach the board: it shows (outline) or goes (no outline).
    // True when the notification was the tip's.
    bool Notify(BoardGame& game, const NMHDR& header);

private:
    void Explain(const BoardGame& game, Square s);

    UniqueWindow tooltip_;
    HWND board_ = nullptr;
    Square square_ = NoSquare;     // the square the tool covers
    uint64_t named_ = 0;           // the squares its explanation names
    std::vector<uint64_t> steps_;  // those of each numbered step, for a chain
};

}  // namespace saltor
