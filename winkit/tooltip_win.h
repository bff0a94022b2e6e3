#pragma once

#include <windows.h>

#include <string>

namespace saltor {

// Our tooltips wrap their text at 250 pixels.
inline constexpr int kTooltipWidth = 250;

// A tooltip window owned by `owner`; null when it cannot be made.
HWND CreateTooltipWindow(HWND owner);

// Shows `text` over the whole client area of `control`, watching the control's mouse messages.
void AddTooltipTool(HWND tooltip, HWND control, UINT_PTR id, std::wstring text);

// Moves a tool added with AddTooltipTool to `rect` of the control and gives it `text`.
void MoveTooltipTool(HWND tooltip, HWND control, UINT_PTR id, const RECT& rect, std::wstring text);

}  // namespace saltor
