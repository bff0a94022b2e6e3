#include "app/about_dlg_win.h"

#include <optional>
#include <vector>

#include "app/version_text.h"
#include "resources/resource.h"
#include "winkit/file_win.h"
#include "winkit/window_helpers_win.h"

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
    return CDialogBase::DoModal(GetModuleHandleW(nullptr), IDD_ABOUTBOX, owner);
}

HWND CAboutDlg::CreateModeless(HWND owner) {
    return CDialogBase::CreateModeless(GetModuleHandleW(nullptr), IDD_ABOUTBOX, owner);
}

INT_PTR CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM, bool& handled) {
    switch (msg) {
        case WM_INITDIALOG:
            CentreWindow(Hwnd());
            SetDlgItemTextW(Hwnd(), IDC_ABOUT_VERSION, ProgramVersionText().c_str());
            return TRUE;  // the system focuses the first tab stop, OK
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(LOWORD(wParam));
                handled = true;
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace saltor
