#pragma once

#include <windows.h>

#include <string>

namespace saltor {

// Centres `window` over its owner, or in its monitor's work area when it has no owner or the
// owner cannot be seen; then keeps it inside the work area of the monitor it lands on, left and
// top edges last so that the caption stays reachable.
void CentreWindow(HWND window);

// The dots per inch of the monitor `window` is on (of the system before Windows 10, which scales
// every window alike), and of the system. 96 is 100 % display scale.
int WindowDpi(HWND window);
int SystemDpi();

// A window's or control's whole text.
std::wstring WindowText(HWND window);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child);

}  // namespace saltor
