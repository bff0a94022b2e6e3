#include "winkit/desktop_win.h"

#include <shellapi.h>

namespace saltor {

void SystemDesktop::Beep(UINT type) {
    MessageBeep(type);
}

int SystemDesktop::ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption,
                               UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

bool SystemDesktop::PickFile(OPENFILENAMEW& record) {
    return GetOpenFileNameW(&record) != FALSE;
}

bool SystemDesktop::PickColor(CHOOSECOLORW& record) {
    return ChooseColorW(&record) != FALSE;
}

void SystemDesktop::Browse(const std::wstring& page) {
    const std::wstring quoted = L"\"" + page + L"\"";
    ShellExecuteW(nullptr, L"open", L"winebrowser.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace saltor
