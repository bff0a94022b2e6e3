#include "winkit/tooltip_win.h"

#include <commctrl.h>

#include "winkit/placement.h"
#include "winkit/window_helpers_win.h"

namespace saltor {

HWND CreateTooltipWindow(HWND owner) {
    const HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                                         nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip != nullptr) {
        SetTooltipWidth(tooltip, kTooltipWidth);
    }
    return tooltip;
}

void SetTooltipWidth(HWND tooltip, int width) {
    const HWND owner = GetWindow(tooltip, GW_OWNER);
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(width, WindowDpi(owner)));
}

void AddTooltipTool(HWND tooltip, HWND control, UINT_PTR id, std::wstring text, bool relayed) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = relayed ? 0 : TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = id;
    GetClientRect(control, &tool.rect);
    tool.lpszText = text.data();
    // The older common controls (no version 6 manifest) refuse the full record and take it
    // without its last field.
    if (!SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void MoveTooltipTool(HWND tooltip, HWND control, UINT_PTR id, const RECT& rect, std::wstring text) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = control;
    tool.uId = id;
    tool.rect = rect;
    SendMessageW(tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = text.data();
    SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace saltor
