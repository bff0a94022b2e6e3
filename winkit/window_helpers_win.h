#pragma once

#include <windows.h>

#include <string>

namespace saltor {

// Centres `window` over its owner, or in its monitor's work area when it has no owner or the
// owner cannot be seen; then keeps it inside that work area, the owner's monitor's or its own,
// left and top edges last so that the caption stays reachable. With two screens a box thus
// stays on the screen the player is using, even when the owner's middle lies on the other.
void CentreWindow(HWND window);

// The dots per inch of the monitor `window` is on (of the system before Windows 10, which scales
// every window alike), and of the system. 96 is 100 % display scale.
int WindowDpi(HWND window);
int SystemDpi();

// Posted to itself by a dialog whose display scale changed: the dialog manager may still scale
// the controls itself after WM_DPICHANGED, so the layout runs once more when it is done.
constexpr UINT kRelayoutMessage = WM_APP + 1;

// A window's or control's whole text.
std::wstring WindowText(HWND window);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child);

}  // namespace saltor
