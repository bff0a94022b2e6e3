#pragma once

#include <windows.h>

#include <string>

#include "app/window_base.h"

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
    INT_PTR Result() const { return result_; }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void Place();
    void Close(INT_PTR result);

    INT_PTR result_ = 0;
};

}  // namespace saltor
