#pragma once

#include <cstdint>

namespace saltor {

// What the tour search needs from the platform. The Windows board window implements it with
// GetTickCount, PeekMessageW on its own queue and the wait cursor; tests script it.
class SearchHost {
public:
    virtual ~SearchHost() = default;

    // Milliseconds; only differences modulo 2^32 are used.
    virtual uint32_t TickCount() = 0;
    // Takes at most one pending input message of the board out of the queue and drops it; true
    // when that message was a key press or a left-button press, which cancels the search.
    virtual bool PollCancel() = 0;
    // Called once per placed square while the search runs.
    virtual void ShowBusy() = 0;
    // Called once when a search has run, so the board can choose its cursor again.
    virtual void SearchEnded() = 0;
};

}  // namespace saltor
