#include "app/about_dlg.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/version_text.h"
#include "resources/resource.h"
#include "settings/settings_file_win.h"

namespace saltor {

namespace {

std::optional<VersionNumbers> ReadVersionNumbers(const std::wstring& modulePath) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(modulePath.c_str(), &ignored);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> data(size, 0);
    if (!GetFileVersionInfoW(modulePath.c_str(), 0, size, data.data())) {
        return std::nullopt;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        fixed == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    return VersionNumbers{fixed->dwProductVersionMS, fixed->dwProductVersionLS, fixed->dwFileFlags};
}

}  // namespace

std::wstring VersionTextOf(const std::wstring& modulePath) {
    return FormatVersionText(ReadVersionNumbers(modulePath));
}

std::wstring ProgramVersionText() {
    return VersionTextOf(ProgramFilePath());
}

INT_PTR CAboutDlg::DoModal(HWND owner) {
    result_ = CDialogBase::DoModal(GetModuleHandleW(nullptr), IDD_ABOUTBOX, owner);
    return result_;
}

HWND CAboutDlg::CreateModeless(HWND owner) {
    result_ = 0;
    return CDialogBase::CreateModeless(GetModuleHandleW(nullptr), IDD_ABOUTBOX, owner);
}

INT_PTR CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM, bool& handled) {
    switch (msg) {
        case WM_INITDIALOG:
            Place();
            SetDlgItemTextW(Hwnd(), IDC_ABOUT_VERSION, ProgramVersionText().c_str());
            return TRUE;  // the system focuses the first tab stop, OK
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                Close(LOWORD(wParam));
                handled = true;
            }
            return 0;
        default:
            return 0;
    }
}

// Centred over the owner, or in the work area when the owner cannot be seen; then pushed back
// inside the work area of its monitor, left and top edges last so that the caption stays reachable.
void CAboutDlg::Place() {
    RECT dialog{};
    GetWindowRect(Hwnd(), &dialog);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    RECT over = monitor.rcWork;
    const HWND owner = GetWindow(Hwnd(), GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &over);
    }
    RECT placed{over.left + ((over.right - over.left) - width) / 2,
                over.top + ((over.bottom - over.top) - height) / 2, 0, 0};
    placed.right = placed.left + width;
    placed.bottom = placed.top + height;
    if (!GetMonitorInfoW(MonitorFromRect(&placed, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT work = monitor.rcWork;
    const int left =
        std::max(std::min(static_cast<int>(placed.left), static_cast<int>(work.right) - width),
                 static_cast<int>(work.left));
    const int top =
        std::max(std::min(static_cast<int>(placed.top), static_cast<int>(work.bottom) - height),
                 static_cast<int>(work.top));
    SetWindowPos(Hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CAboutDlg::Close(INT_PTR result) {
    result_ = result;
    EndDialog(result);
}

}  // namespace saltor
