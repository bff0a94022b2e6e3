#include "board/chess_board_wnd_win.h"

#include <windowsx.h>

#include "board/board_painter_win.h"
#include "board/pixel_rect_win.h"
#include "resources/resource.h"
#include "winkit/resource_string_win.h"
#include "winkit/text_format.h"

namespace saltor {
std::optional<BoardCommand> BoardCommandFor(int controlId) {
    switch (controlId) {
        case IDC_NEW_GAME:
            return BoardCommand::NewGame;
        case IDC_BACK:
            return BoardCommand::Back;
        case IDC_FORWARD:
            return BoardCommand::ForwardOrHint;
        case IDC_FIRST:
            return BoardCommand::FirstOrRestart;
        case IDC_LAST:
            return BoardCommand::LastOrSolve;
        default:
            return std::nullopt;
    }
}

CChessBoardWnd::CChessBoardWnd(AppSettings& settings, Desktop& desktop)
    : settings_(settings), desktop_(desktop), game_(*this, host_, settings) {}

CChessBoardWnd::~CChessBoardWnd() {
    // Destroyed here, not by the base class: by then this object's handlers and members are gone.
    if (Hwnd() != nullptr) {
        DestroyWindow(Hwnd());
    }
}

HWND CChessBoardWnd::Create(HWND parent) {
    game_.cellSize = settings_.CellSize;
    const int side = 8 * game_.cellSize;
    return CWindowBase::Create(L"SaltorBoard", CS_HREDRAW | CS_VREDRAW, parent,
                               WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, side, side});
}

void CChessBoardWnd::BuildImageCache() {
    images_.Build(settings_, game_.cellSize, GetModuleHandleW(nullptr));
}

void CChessBoardWnd::FollowSettings() {
    game_.cellSize = settings_.CellSize;
    markTip_.Forget(game_);
    BuildImageCache();
    SendMessageW(Hwnd(), WM_SIZE, 0, 0);
}

void CChessBoardWnd::Refresh() {
    if (Hwnd() != nullptr) {
        markTip_.Forget(game_);
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

LRESULT CChessBoardWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (msg) {
        case WM_CREATE:
            host_.SetWindow(Hwnd());
            BuildImageCache();
            game_.tour.Reset();
            markTip_.Create(Hwnd());
            return 0;
        case WM_ERASEBKGND:
            PaintBoard(reinterpret_cast<HDC>(wParam), game_, settings_, &images_);
            handled = true;
            return 1;
        case WM_PAINT: {
            // Everything is drawn by the background erase that BeginPaint asks for.
            PAINTSTRUCT ps;
            BeginPaint(Hwnd(), &ps);
            EndPaint(Hwnd(), &ps);
            handled = true;
            return 0;
        }
        case WM_LBUTTONDOWN:
            SetFocus(Hwnd());  // so that a key press during the judgement reaches the search
            game_.Click(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            markTip_.Forget(game_);
            return 0;
        case WM_RBUTTONDOWN:
            game_.RightClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            // The parent shows the challenge the mark chose.
            SendMessageW(GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(IDC_ARRIVAL_MARKED, 0),
                         reinterpret_cast<LPARAM>(Hwnd()));
            return 0;
        case WM_MOUSEMOVE:
            game_.MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            markTip_.Follow(game_, game_.SquareAtPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)),
                            wParam, lParam);
            return 0;
        case WM_NOTIFY:
            handled = markTip_.Notify(game_, *reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case WM_SIZE: {
            const int side = 8 * settings_.CellSize;
            SetWindowPos(Hwnd(), nullptr, 0, 0, side, side,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            handled = true;
            return 0;
        }
        case WM_COMMAND:
            if (const std::optional<BoardCommand> command = BoardCommandFor(LOWORD(wParam))) {
                game_.Command(*command);
                markTip_.Forget(game_);
                handled = true;
            }
            return 0;
        case WM_DESTROY:
            markTip_.Destroy();
            return 0;
        case WM_NCDESTROY:
            host_.SetWindow(nullptr);
            return 0;
        default:
            return 0;
    }
}

void CChessBoardWnd::Beep(BeepKind kind) {
    desktop_.Beep(kind == BeepKind::Exclamation ? MB_ICONEXCLAMATION : MB_OK);
}

void CChessBoardWnd::Invalidate(const PixelRect& rect, bool now) {
    const RECT r = ToRect(rect);
    InvalidateRect(Hwnd(), &r, TRUE);
    if (now) {
        UpdateWindow(Hwnd());
    }
}

void CChessBoardWnd::RedrawAll() {
    InvalidateRect(Hwnd(), nullptr, TRUE);
    UpdateWindow(Hwnd());
}

void CChessBoardWnd::ShowReport(int movesPlayed, int errors, int hints) {
    const std::wstring format = LoadResourceString(IDS_REPORT);
    std::wstring report = FormatNumbers(format, {movesPlayed, errors, hints});
    const BoardGame::Outcome outcome = game_.ChallengeOutcome();
    if (outcome != BoardGame::Outcome::NoChallenge) {
        const bool closed = game_.tour.challenge.kind == TourKind::Closed;
        const bool met = outcome == BoardGame::Outcome::Met;
        report +=
            L"\n\n" + LoadResourceString(closed ? (met ? IDS_CLOSED_MET : IDS_CLOSED_MISSED)
                                                : (met ? IDS_ARRIVAL_MET : IDS_ARRIVAL_MISSED));
    }
    desktop_.ShowMessage(Hwnd(), report, LoadResourceString(IDS_MAIN_CAPTION),
                         MB_ICONEXCLAMATION | MB_OK);
}

void CChessBoardWnd::ShowReview(const std::wstring& text) {
    desktop_.ShowMessage(Hwnd(), text, LoadResourceString(IDS_MAIN_CAPTION),
                         MB_ICONINFORMATION | MB_OK);
}

void CChessBoardWnd::ShowCursor(CursorKind kind) {
    const SystemCursors& system = GetSystemCursors();
    HCURSOR cursor = system.forbidden;
    if (kind == CursorKind::Wait) {
        cursor = system.wait;
    } else if (kind == CursorKind::Board) {
        // The settings' cursor for the squares the knight may jump to; the hand if none loaded.
        cursor = static_cast<HCURSOR>(settings_.BoardCursor.get());
        if (cursor == nullptr) {
            cursor = system.hand;
        }
    }
    SetCursor(cursor);
}

}  // namespace saltor
