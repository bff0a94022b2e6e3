#pragma once

#include <windows.h>

#include <string>

namespace saltor {

// Our tooltips wrap their text at 250 pixels at 100 % display scale.
inline constexpr int kTooltipWidth = 250;

// A tooltip window owned by `owner`; null when it cannot be made.
HWND CreateTooltipWindow(HWND owner);

// Wraps the tip's text at `width` pixels at 100 % display scale, scaled to the owner's.
void SetTooltipWidth(HWND tooltip, int width);

// Shows `text` over the whole client area of `control`, watching the control's mouse messages,
// or, with `relayed`, only those the control passes on with TTM_RELAYEVENT.
void AddTooltipTool(HWND tooltip, HWND control, UINT_PTR id, std::wstring text,
                    bool relayed = false);

// Moves a tool added with AddTooltipTool to `rect` of the control and gives it `text`.
void MoveTooltipTool(HWND tooltip, HWND control, UINT_PTR id, const RECT& rect, std::wstring text);

}  // namespace saltor
