#pragma once

#include <windows.h>

namespace saltor {

// The program's main window once it is up: shown, of that process, with the game's caption, and
// its board (in the top-left corner) painted, which leaves an empty update region.
inline HWND FindPaintedMainWindow(DWORD processId) {
    for (HWND hwnd = nullptr;
         (hwnd = FindWindowExW(nullptr, hwnd, nullptr, L"Cavalier Saltor")) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        const HWND board = ChildWindowFromPoint(hwnd, POINT{4, 4});
        if (owner == processId && IsWindowVisible(hwnd) && board != nullptr && board != hwnd &&
            IsWindowVisible(board) && !GetUpdateRect(board, nullptr, FALSE)) {
            return hwnd;
        }
    }
    return nullptr;
}

}  // namespace saltor
