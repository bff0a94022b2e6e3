#include "settings/color_square_wnd_win.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "settings/caption_color_dialog_win.h"
#include "winkit/resource_string_win.h"
#include "winkit/tooltip_win.h"

namespace saltor {

namespace {

constexpr UINT_PTR kToolId = 1;

}  // namespace

CColorSquareWnd::~CColorSquareWnd() {
    // Destroyed here, not by the base class, so that the tip goes with it.
    if (Hwnd() != nullptr) {
        DestroyWindow(Hwnd());
    }
}

HWND CColorSquareWnd::Create(HWND parent, const RECT& rect, DWORD style, UINT_PTR id) {
    return CWindowBase::Create(L"SaltorColorSquare", CS_HREDRAW | CS_VREDRAW, parent, style, 0,
                               rect, id, LoadCursorW(nullptr, IDC_HAND));
}

HWND CColorSquareWnd::CreateOver(HWND placeholder) {
    const HWND parent = GetParent(placeholder);
    RECT rect{};
    GetWindowRect(placeholder, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return Create(parent, rect, WS_CHILD | WS_VISIBLE);
}

void CColorSquareWnd::SetColors(COLORREF back, COLORREF text) {
    backColor_ = back;
    textColor_ = text;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
}

void CColorSquareWnd::SetCaptions(std::wstring_view back, std::wstring_view text) {
    backCaption_ = back.substr(0, kMaxCaption);
    textCaption_ = text.substr(0, kMaxCaption);
}

LRESULT CColorSquareWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM, bool& handled) {
    switch (msg) {
        case WM_ERASEBKGND:
            handled = true;
            Paint(reinterpret_cast<HDC>(wParam));
            return 1;  // erased: the whole face is drawn here
        case WM_LBUTTONDOWN:
            handled = true;
            EditColor(textColor_, textCaption_);
            return 0;
        case WM_RBUTTONDOWN:
            handled = true;
            EditColor(backColor_, backCaption_);
            return 0;
        case WM_SIZE:
            // The tip keeps covering the whole square when the dialog resizes it.
            if (tooltip_) {
                TTTOOLINFOW tool{};
                tool.cbSize = TTTOOLINFOW_V2_SIZE;
                tool.hwnd = Hwnd();
                tool.uId = kToolId;
                GetClientRect(Hwnd(), &tool.rect);
                SendMessageW(tooltip_.Get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
            }
            return 0;
        case WM_DESTROY:
            tooltip_.Reset();
            return 0;
        default:
            return 0;
    }
}

void CColorSquareWnd::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    {
        const UniqueBrush brush(CreateSolidBrush(backColor_));
        FillRect(dc, &client, brush.Get());
    }
    const COLORREF oldColor = ::SetTextColor(dc, textColor_);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    // The dialog's font, which follows the display scale (the DC's own does not).
    const auto font = reinterpret_cast<HFONT>(SendMessageW(GetParent(Hwnd()), WM_GETFONT, 0, 0));
    const SelectedObject selected(dc, font);
    DrawTextW(dc, L"1", 1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
    if (tipPending_) {
        CreateTooltip();
        tipPending_ = false;
    }
}

void CColorSquareWnd::CreateTooltip() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    tooltip_.Reset(CreateTooltipWindow(Hwnd()));
    if (tooltip_) {
        AddTooltipTool(tooltip_.Get(), Hwnd(), kToolId, LoadResourceString(IDS_TIP_COLOR_SWATCH));
    }
}

void CColorSquareWnd::EditColor(COLORREF& color, const std::wstring& caption) {
    const HWND owner = Hwnd() != nullptr ? Hwnd() : GetActiveWindow();
    CCaptionColorDialog dialog(owner, color, caption.c_str());
    // A cancel, or a dialog that could not start, keeps the colour as it was.
    if (dialog.DoModal(desktop_)) {
        color = dialog.Color();
    }
    InvalidateRect(Hwnd(), nullptr, TRUE);
    UpdateWindow(Hwnd());
}

}  // namespace saltor
