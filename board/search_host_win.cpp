#include "board/search_host_win.h"

namespace saltor {
namespace {

// A square is placed in about 30 ns and even the performance counter costs 0.1 µs under Wine:
// read every 64 squares it still took 10% of the search's speed. 1024 squares take tens of
// microseconds, which is nothing next to the poll interval.
constexpr uint32_t kSquaresPerClockRead = 1024;

// Looking at the queue every millisecond cost the search about 12% more of its speed under Wine
// (a poll is a round trip to the wineserver, 50-200 µs on a busy machine); every 5 ms costs a
// few percent, and a key press still stops the search within about 6 ms.
constexpr int64_t kPollIntervalMs = 5;

// A wait cursor shown for less than a screen refresh is never seen, while its SetCursor, and the
// cursor refresh it calls for at the end, took a search from d4 (0.5 ms) half its speed.
constexpr int64_t kBusyAfterMs = 5;

int64_t CountsPerMs() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart >= 1000 ? frequency.QuadPart / 1000 : 1;
}

// The window under `screen` sets its own cursor again, as it would for a mouse move. Only our
// own thread's windows are asked: a send to another program's window could block.
void RefreshCursorAt(POINT screen) {
    const HWND under = WindowFromPoint(screen);
    if (under == nullptr || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) {
        return;
    }
    const LPARAM where = MAKELPARAM(screen.x, screen.y);
    const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, where);
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

}  // namespace

const SystemCursors& GetSystemCursors() {
    static const SystemCursors cursors{LoadCursorW(nullptr, IDC_WAIT), LoadCursorW(nullptr, IDC_NO),
                                       LoadCursorW(nullptr, IDC_HAND)};
    return cursors;
}

WinSearchHost::WinSearchHost(HWND board) : board_(board), countsPerMs_(CountsPerMs()) {}

uint32_t WinSearchHost::TickCount() {
    return GetTickCount();
}

int64_t WinSearchHost::NowMs() const {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart / countsPerMs_;
}

// GetTickCount would serve as the clock, but it moves in 16 ms steps on Windows and, under a
// busy Wine, sometimes coarser: a cancel would wait too long to be seen.
bool WinSearchHost::PollCancel() {
    ++placed_;
    if (untilClock_ != 0) {
        --untilClock_;
        return false;
    }
    untilClock_ = kSquaresPerClockRead - 1;
    const int64_t now = NowMs();
    if (!polledThisSearch_) {
        polledThisSearch_ = true;
        startMs_ = now;
    } else {
        busyDue_ = busyDue_ || now - startMs_ >= kBusyAfterMs;
        if (now - lastPollMs_ < kPollIntervalMs) {
            return false;
        }
    }
    // With no window the filter would take any message of the thread, and it would be lost.
    if (board_ == nullptr) {
        return false;
    }
    lastPollMs_ = now;
    ++queuePolls_;
    MSG msg;
    // What is taken is dropped: only a key press or a click means anything during a search.
    if (!PeekMessageW(&msg, board_, 0, 0, PM_REMOVE)) {
        return false;
    }
    // Wine hands out the quit request whatever the window filter; dropped, the program would
    // never end. It goes back for the message loop, and the search stops so that it ends soon.
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return true;
    }
    return msg.message == WM_KEYDOWN || msg.message == WM_LBUTTONDOWN;
}

void WinSearchHost::ShowBusy() {
    if (busyDue_ && !busyShown_) {
        busyShown_ = true;
        SetCursor(GetSystemCursors().wait);
    }
}

void WinSearchHost::SearchEnded() {
    const bool busyShown = busyShown_;
    busyShown_ = false;
    busyDue_ = false;
    untilClock_ = 0;  // the next search looks at the queue at its first square
    polledThisSearch_ = false;
    if (board_ == nullptr) {
        return;
    }
    POINT screen{};
    if (!GetCursorPos(&screen)) {
        return;
    }
    POINT client = screen;
    ScreenToClient(board_, &client);
    // The board chooses its cursor again from where the pointer is now.
    SendMessageW(board_, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    // Off the board the board leaves the cursor alone, so a search started from a button would
    // leave the wait cursor showing until the mouse moved: the window under the pointer sets
    // its own instead.
    RECT board{};
    GetClientRect(board_, &board);
    if (busyShown && !PtInRect(&board, client)) {
        RefreshCursorAt(screen);
    }
}

}  // namespace saltor
