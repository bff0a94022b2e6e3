#pragma once

#include <cstdint>
#include <functional>

#include "engine/search_host.h"

namespace saltor {

// A search host whose clock and input are scripted, so that time-outs and cancels repeat exactly:
// every clock read returns `tick` and then advances it by `tickStep`.
class ScriptedHost : public SearchHost {
public:
    uint32_t tick = 1000;
    uint32_t tickStep = 0;
    uint64_t cancelAtPoll = 0;  // 1-based number of the poll that finds a key press; 0: never

    uint64_t tickReads = 0;
    uint64_t polls = 0;
    uint64_t busyCalls = 0;
    uint64_t endCalls = 0;
    std::function<void()> onEnd;  // what the board does when a search ends

    uint32_t TickCount() override {
        ++tickReads;
        const uint32_t now = tick;
        tick += tickStep;
        return now;
    }
    bool PollCancel() override { return ++polls == cancelAtPoll; }
    void ShowBusy() override { ++busyCalls; }
    void SearchEnded() override {
        ++endCalls;
        if (onEnd) {
            onEnd();
        }
    }
};

// A clock that counts squares placed instead of milliseconds: a budget of n stops a search at
// its first back-up after n squares, on any machine.
class SquareCountingHost : public SearchHost {
public:
    uint64_t squares = 0;

    uint32_t TickCount() override { return static_cast<uint32_t>(squares); }
    bool PollCancel() override { return false; }
    void ShowBusy() override { ++squares; }
    void SearchEnded() override {}
};

}  // namespace saltor
