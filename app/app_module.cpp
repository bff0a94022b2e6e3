#include "app/app_module.h"

namespace saltor {

CAppModule g_module;

void CAppModule::Init(HINSTANCE instance) {
    instance_ = instance;
    std::lock_guard lock(mutex_);
    loops_.clear();
}

void CAppModule::Term() {
    std::lock_guard lock(mutex_);
    loops_.clear();
}

void CAppModule::AddMessageLoop(CMessageLoop* loop) {
    std::lock_guard lock(mutex_);
    loops_[GetCurrentThreadId()] = loop;
}

void CAppModule::RemoveMessageLoop() {
    std::lock_guard lock(mutex_);
    loops_.erase(GetCurrentThreadId());
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
    std::lock_guard lock(mutex_);
    const auto it = loops_.find(threadId);
    return it == loops_.end() ? nullptr : it->second;
}

}  // namespace saltor
