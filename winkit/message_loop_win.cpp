#include "winkit/message_loop_win.h"

#include <algorithm>

namespace saltor {

namespace {

template <typename T>
void RemoveFrom(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

void CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
    filters_.push_back(filter);
}
void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
    RemoveFrom(filters_, filter);
}
void CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
    idleHandlers_.push_back(handler);
}
void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
    RemoveFrom(idleHandlers_, handler);
}

bool CMessageLoop::IsIdleMessage(const MSG& msg) {
    switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_PAINT:
        case 0x0118:  // WM_SYSTIMER: the caret blink
            return false;
        default:
            return true;
    }
}

bool CMessageLoop::PreTranslateMessage(MSG* msg) {
    // A filter may remove itself while handling the message: walk a copy.
    const std::vector<CMessageFilter*> filters = filters_;
    for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
        if ((*it)->PreTranslateMessage(msg)) {
            return true;
        }
    }
    return false;
}

void CMessageLoop::OnIdle() {
    const std::vector<CIdleHandler*> handlers = idleHandlers_;
    for (CIdleHandler* handler : handlers) {
        handler->OnIdle();
    }
}

int CMessageLoop::Run() {
    bool idleArmed = true;
    for (;;) {
        // One idle pass, then wait: the handlers report no further idle work.
        if (idleArmed && !PeekMessageW(&msg_, nullptr, 0, 0, PM_NOREMOVE)) {
            OnIdle();
            idleArmed = false;
        }
        const BOOL got = GetMessageW(&msg_, nullptr, 0, 0);
        if (got == -1) {
            continue;
        }
        if (!got) {
            break;
        }
        if (!PreTranslateMessage(&msg_)) {
            TranslateMessage(&msg_);
            DispatchMessageW(&msg_);
        }
        if (IsIdleMessage(msg_)) {
            idleArmed = true;
        }
    }
    return static_cast<int>(msg_.wParam);
}

}  // namespace saltor
