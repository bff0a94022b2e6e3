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

// Waits up to 10 s for a started program to end, ends it otherwise, and gives its exit code.
inline DWORD ExitCodeOnceEnded(HANDLE process) {
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 99);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    return exitCode;
}

}  // namespace saltor
