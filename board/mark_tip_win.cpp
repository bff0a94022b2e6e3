#include "board/mark_tip_win.h"

#include <commctrl.h>

#include "board/pixel_rect_win.h"
#include "winkit/tooltip_win.h"

namespace saltor {
namespace {

constexpr UINT_PTR kToolId = 1;

// Explanations run to a few lines; wider than the other tips so that they stay short.
constexpr int kMarkTipWidth = 320;

}  // namespace

void CMarkTip::Create(HWND board) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    board_ = board;
    tooltip_.Reset(CreateTooltipWindow(board));
    if (tooltip_) {
        // Only the pointer's moves are passed on: watching every message of the board would
        // cost each click a millisecond under Wine.
        AddTooltipTool(tooltip_.Get(), board, kToolId, L"", true);
        MoveTooltipTool(tooltip_.Get(), board, kToolId, RECT{}, L"");
    }
}

void CMarkTip::Follow(const BoardGame& game, Square s, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) {
        return;
    }
    if (s != square_) {
        Explain(game, s);
    }
    MSG move{board_, WM_MOUSEMOVE, wParam, lParam, 0, {}};
    SendMessageW(tooltip_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void CMarkTip::Explain(const BoardGame& game, Square s) {
    square_ = s;
    const BoardGame::MarkTip tip = IsOnBoard(s) ? game.ExplainMark(s) : BoardGame::MarkTip{};
    named_ = tip.squares;
    steps_ = tip.steps;
    if (tip.text.empty()) {
        SendMessageW(tooltip_.Get(), TTM_POP, 0, 0);
        MoveTooltipTool(tooltip_.Get(), board_, kToolId, RECT{}, L"");
        return;
    }
    SetTooltipWidth(tooltip_.Get(), kMarkTipWidth);  // the board may have changed monitors
    MoveTooltipTool(tooltip_.Get(), board_, kToolId, ToRect(game.SquareRect(s)), tip.text);
}

void CMarkTip::Forget(BoardGame& game) {
    if (IsOnBoard(square_)) {
        Explain(game, NoSquare);  // the tool covers nothing and names nothing
    }
    game.Outline(0);
}

bool CMarkTip::Notify(BoardGame& game, const NMHDR& header) {
    if (!tooltip_ || header.hwndFrom != tooltip_.Get()) {
        return false;
    }
    if (header.code == TTN_SHOW) {
        game.Outline(named_, steps_);
    } else if (header.code == TTN_POP) {
        game.Outline(0);
    }
    return true;
}

}  // namespace saltor
