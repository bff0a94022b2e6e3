#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "app/window_base.h"
#include "settings/app_settings.h"
#include "settings/color_square_wnd.h"

namespace saltor {

// The Preferences dialog (template 130). It edits its controls and copies only; OK writes every
// field into the settings, saves them and re-resolves the board cursor (result IDOK); Cancel,
// Escape and the close box change nothing (result IDCANCEL).
class CPrefsDlg : public CDialogBase {
public:
    using OpenFileFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
    using MessageBoxFunction = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);

    explicit CPrefsDlg(AppSettings& settings);
    ~CPrefsDlg() override;

    INT_PTR DoModal(HWND owner);
    // For tests: the same dialog without its own loop; Result() tells how it was closed.
    HWND CreateModeless(HWND owner);
    INT_PTR Result() const { return result_; }

    // What the file dialogs and the save-failure notice call (GetOpenFileNameW and MessageBoxW
    // unless replaced, so that tests never block); each returns the previous one.
    static OpenFileFunction SetOpenFileFunction(OpenFileFunction function);
    static MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void OnInitDialog();
    void CentreOverOwner();
    void UpdateControlStates();
    void UpdateCellSizeText();
    void BrowseImage(int button);
    void BrowseCursor();
    void CreateTooltips();
    void ApplyAndSave();
    void Close(INT_PTR result);
    std::wstring ItemText(int id) const;

    AppSettings& settings_;
    HWND slider_ = nullptr;
    HWND tooltip_ = nullptr;
    bool solidColor_ = false;
    std::wstring cursorFile_;
    bool handCursor_ = false;
    std::wstring whiteImage_;
    std::wstring blackImage_;
    std::wstring knightImage_;
    CColorSquareWnd whiteSwatch_;
    CColorSquareWnd blackSwatch_;
    INT_PTR result_ = 0;
};

}  // namespace saltor
