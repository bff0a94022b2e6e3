#include "winkit/window_helpers_win.h"

#include "winkit/placement.h"

namespace saltor {

namespace {

WindowRect FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void CentreWindow(HWND window) {
    const HWND owner = GetWindow(window, GW_OWNER);
    const bool overOwner = owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(overOwner ? owner : window, MONITOR_DEFAULTTONEAREST),
                         &monitor)) {
        return;
    }
    RECT over = monitor.rcWork;
    if (overOwner) {
        GetWindowRect(owner, &over);
    }
    RECT current{};
    GetWindowRect(window, &current);
    const WindowRect placed =
        CentreOver(FromRect(current), FromRect(over), FromRect(monitor.rcWork));
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace saltor
