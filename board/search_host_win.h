#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/search_host.h"

namespace saltor {

// The system cursors the board shows, loaded once: LoadCursorW costs about 130 µs under Wine.
struct SystemCursors {
    HCURSOR wait = nullptr;
    HCURSOR forbidden = nullptr;
    HCURSOR hand = nullptr;
};
const SystemCursors& GetSystemCursors();

// The tour search's view of Windows, for the search run inside the board window's handlers.
// The search calls PollCancel and ShowBusy once per placed square (millions a second), while
// PeekMessageW and SetCursor each cost tens of microseconds under Wine: the queue is looked at
// at the first square and then every few milliseconds, and the wait cursor is set once per
// search, when it has run for a few milliseconds.
class WinSearchHost final : public SearchHost {
public:
    explicit WinSearchHost(HWND board = nullptr);

    void SetWindow(HWND board) { board_ = board; }

    uint32_t TickCount() override;
    bool PollCancel() override;
    void ShowBusy() override;
    void SearchEnded() override;

    // Every PollCancel call so far, that is every square the searches placed.
    uint64_t PlacedSquares() const { return placed_; }
    // The polls that really looked at the queue.
    uint64_t QueuePolls() const { return queuePolls_; }

private:
    int64_t NowMs() const;

    HWND board_;
    int64_t countsPerMs_;
    uint64_t placed_ = 0;
    uint64_t queuePolls_ = 0;
    uint32_t untilClock_ = 0;
    bool polledThisSearch_ = false;
    int64_t startMs_ = 0;
    int64_t lastPollMs_ = 0;
    bool busyDue_ = false;
    bool busyShown_ = false;
};

}  // namespace saltor
