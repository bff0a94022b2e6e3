#pragma once

#include <windows.h>

#include <string>

#include "winkit/window_base_win.h"

namespace saltor {

// The About box text of the version data of the module at `modulePath` (the running program by
// default); see FormatVersionText.
std::wstring VersionTextOf(const std::wstring& modulePath);
std::wstring ProgramVersionText();

// The About box (template 100): the program's icon, its version, the aim of the game. OK gives
// IDOK; Escape and the close box give IDCANCEL.
class CAboutDlg : public CDialogBase {
public:
    INT_PTR DoModal(HWND owner);
    // For tests: the same dialog without its own loop; Result() tells how it was closed.
    HWND CreateModeless(HWND owner);

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
};

}  // namespace saltor
