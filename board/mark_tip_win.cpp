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
        SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, kMarkTipWidth);
        AddTooltipTool(tooltip_.Get(), board, kToolId, L"");
        MoveTooltipTool(tooltip_.Get(), board, kToolId, RECT{}, L"");
    }
}

void CMarkTip::Follow(const BoardGame& game, Square s) {
    if (!tooltip_ || s == square_) {
        return;
    }
    square_ = s;
    const BoardGame::MarkTip tip = IsOnBoard(s) ? game.ExplainMark(s) : BoardGame::MarkTip{};
    named_ = tip.squares;
    if (tip.text.empty()) {
        SendMessageW(tooltip_.Get(), TTM_POP, 0, 0);
        MoveTooltipTool(tooltip_.Get(), board_, kToolId, RECT{}, L"");
        return;
    }
    MoveTooltipTool(tooltip_.Get(), board_, kToolId, ToRect(game.SquareRect(s)), tip.text);
}

void CMarkTip::Forget() {
    square_ = NoSquare;
}

bool CMarkTip::Notify(BoardGame& game, const NMHDR& header) {
    if (!tooltip_ || header.hwndFrom != tooltip_.Get()) {
        return false;
    }
    if (header.code == TTN_SHOW) {
        game.Outline(named_);
    } else if (header.code == TTN_POP) {
        game.Outline(0);
    }
    return true;
}

}  // namespace saltor
