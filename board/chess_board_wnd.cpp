#include "board/chess_board_wnd.h"

#include <windowsx.h>

#include <iterator>

#include "board/board_painter_win.h"
#include "resources/resource.h"

namespace saltor {
namespace {

// Used where the string table is not linked in (the benchmark, say).
constexpr wchar_t kReportFallback[] =
    L"Bravo !\n\nR\u00e9sultats :\n - coups jou\u00e9s :\t%d\n - erreurs :\t%d\n"
    L" - conseils :\t%d";
constexpr wchar_t kCaptionFallback[] = L"Cavalier Saltor";

RECT ToRect(const PixelRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

std::wstring LoadResourceString(UINT id, const wchar_t* fallback) {
    // With a length of 0 LoadStringW hands out a pointer into the resource itself, which is not
    // terminated; its answer is the length.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return fallback;
    }
    return std::wstring(text, static_cast<size_t>(length));
}

std::wstring FormatReport(const std::wstring& format, int movesPlayed, int errors, int hints) {
    const int values[] = {movesPlayed, errors, hints};
    size_t next = 0;
    std::wstring text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                text += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == L'd' && next < std::size(values)) {
                text += std::to_wstring(values[next++]);
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    return text;
}

void BoardFeedback::Beep(BeepKind kind) {
    MessageBeep(kind == BeepKind::Exclamation ? MB_ICONEXCLAMATION : MB_OK);
}

void BoardFeedback::Report(HWND owner, const std::wstring& text) {
    const std::wstring caption = LoadResourceString(IDS_MAIN_CAPTION, kCaptionFallback);
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
}

CChessBoardWnd::CChessBoardWnd(AppSettings& settings)
    : settings_(settings), game_(*this, host_, settings) {}

CChessBoardWnd::~CChessBoardWnd() {
    // Destroyed here, not by the base class: by then this object's handlers and members are gone.
    if (Hwnd() != nullptr) {
        DestroyWindow(Hwnd());
    }
}

HWND CChessBoardWnd::Create(HWND parent) {
    const int side = 8 * game_.cellSize;
    return CWindowBase::Create(L"SaltorBoard", CS_HREDRAW | CS_VREDRAW, parent,
                               WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, side, side});
}

void CChessBoardWnd::BuildImageCache() {
    images_.Build(settings_, game_.cellSize, GetModuleHandleW(nullptr));
}

void CChessBoardWnd::SetFeedback(BoardFeedback* feedback) {
    feedback_ = feedback != nullptr ? feedback : &defaultFeedback_;
}

LRESULT CChessBoardWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (msg) {
        case WM_CREATE:
            host_.SetWindow(Hwnd());
            BuildImageCache();
            game_.tour.Reset();
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
            return 0;
        case WM_MOUSEMOVE:
            game_.MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_SIZE: {
            const int side = 8 * settings_.CellSize;
            SetWindowPos(Hwnd(), nullptr, 0, 0, side, side,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            handled = true;
            return 0;
        }
        case WM_COMMAND:
            handled = game_.Command(LOWORD(wParam));
            return 0;
        case WM_NCDESTROY:
            host_.SetWindow(nullptr);
            return 0;
        default:
            return 0;
    }
}

void CChessBoardWnd::Beep(BeepKind kind) {
    feedback_->Beep(kind);
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
    const std::wstring format = LoadResourceString(IDS_REPORT, kReportFallback);
    feedback_->Report(Hwnd(), FormatReport(format, movesPlayed, errors, hints));
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
