#pragma once

#include <windows.h>

#include <map>
#include <mutex>

#include "app/message_loop.h"

namespace saltor {

// The process's instance handle and the message loop of each thread, so that a window created on
// a thread can find the loop to register its filters and idle handlers with.
class CAppModule {
public:
    void Init(HINSTANCE instance);
    void Term();

    HINSTANCE Instance() const { return instance_; }

    void AddMessageLoop(CMessageLoop* loop);
    void RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = GetCurrentThreadId()) const;

private:
    HINSTANCE instance_ = nullptr;
    mutable std::mutex mutex_;  // the table is process-wide
    std::map<DWORD, CMessageLoop*> loops_;
};

extern CAppModule g_module;

}  // namespace saltor
