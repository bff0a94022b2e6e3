#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "winkit/message_loop_win.h"

namespace saltor {
namespace {

// Filters and idle handlers that write down what they see, in order.
struct Recorder : CMessageFilter, CIdleHandler {
    std::string* log;
    char name;
    UINT swallow = 0;  // a message this filter keeps from the others
    CMessageLoop* removeFrom = nullptr;
    Recorder(std::string* l, char n) : log(l), name(n) {}
    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message < WM_APP) {
            return false;
        }
        *log += std::string(1, name) + std::to_string(msg->message - WM_APP) + " ";
        if (removeFrom != nullptr) {
            removeFrom->RemoveMessageFilter(this);
        }
        return msg->message == swallow;
    }
    bool OnIdle() override {
        *log += std::string("idle") + name + " ";
        return false;
    }
};

// The last filter added sees a message first and may keep it from the others, and may leave
// while it handles one; the idle handlers run once when the queue runs dry; the quit code comes
// back, and the loop is the current one only while it lives.
TEST(MessageLoopTest, FiltersInReverseOrderIdleOnceAndTheQuitCode) {
    MSG earlier;  // left by other tests
    while (PeekMessageW(&earlier, nullptr, 0, 0, PM_REMOVE)) {
    }
    std::string log;
    Recorder first(&log, 'a'), second(&log, 'b');
    {
        CMessageLoop loop;
        EXPECT_EQ(CMessageLoop::Current(), &loop);
        loop.AddMessageFilter(&first);
        loop.AddMessageFilter(&second);
        loop.AddIdleHandler(&first);
        second.swallow = WM_APP + 1;
        second.removeFrom = &loop;
        PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 0, 0);
        PostThreadMessageW(GetCurrentThreadId(), WM_APP + 2, 0, 0);
        SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            PostQuitMessage(9);
        });
        EXPECT_EQ(loop.Run(), 9);
        loop.RemoveIdleHandler(&first);
        loop.RemoveMessageFilter(&first);
    }
    EXPECT_EQ(CMessageLoop::Current(), nullptr);
    EXPECT_EQ(log, "b1 a2 idlea ");
}

}  // namespace
}  // namespace saltor
