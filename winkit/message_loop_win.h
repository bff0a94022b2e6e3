#pragma once

#include <windows.h>

#include <vector>

namespace saltor {

class CMessageFilter {
public:
    virtual bool PreTranslateMessage(MSG* msg) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    virtual bool OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

// The thread's message pump: filters see each message first (the one added last first), and the
// idle handlers run once each time the queue runs dry after a message that counts as activity.
// The program has one thread: a loop is the current one from its construction to its end, so
// that the windows made meanwhile find it to register with.
class CMessageLoop {
public:
    CMessageLoop() : outer_(current_) { current_ = this; }
    ~CMessageLoop() { current_ = outer_; }
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    // The innermost loop alive; null when there is none.
    static CMessageLoop* Current() { return current_; }

    void AddMessageFilter(CMessageFilter* filter);
    void RemoveMessageFilter(CMessageFilter* filter);
    void AddIdleHandler(CIdleHandler* handler);
    void RemoveIdleHandler(CIdleHandler* handler);

    // Pumps until WM_QUIT and returns its exit code.
    int Run();

    // Mouse moves, paints and the caret-blink timer come in streams and change nothing the idle
    // handlers show, so they do not arm another idle pass.
    static bool IsIdleMessage(const MSG& msg);

private:
    bool PreTranslateMessage(MSG* msg);
    void OnIdle();

    static inline CMessageLoop* current_ = nullptr;
    CMessageLoop* outer_;
    std::vector<CMessageFilter*> filters_;
    std::vector<CIdleHandler*> idleHandlers_;
    MSG msg_{};
};

}  // namespace saltor
