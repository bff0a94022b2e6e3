#pragma once

#include <windows.h>

#include <string>

#include "settings/app_settings.h"
#include "settings/color_square_wnd_win.h"
#include "winkit/desktop_win.h"
#include "winkit/window_base_win.h"

namespace saltor {

// The Preferences dialog (template 130). It edits its controls and copies only; OK writes every
// field into the settings, saves them and re-resolves the board cursor (result IDOK); Cancel,
// Escape and the close box change nothing (result IDCANCEL).
// The file dialogs, the colour dialogs and the save-failure notice go through `desktop`.
class CPrefsDlg : public CDialogBase {
public:
    CPrefsDlg(AppSettings& settings, Desktop& desktop);
    ~CPrefsDlg() override;

    INT_PTR DoModal(HWND owner);
    // For tests: the same dialog without its own loop; Result() tells how it was closed.
    HWND CreateModeless(HWND owner);

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void OnInitDialog();
    void UpdateControlStates();
    void UpdateCellSizeText();
    void BrowseImage(int button);
    void BrowseCursor();
    void CreateTooltips();
    void ApplyAndSave();
    std::wstring ItemText(int id) const;
    std::wstring OpenFileDialog(const std::wstring& title, UINT filterId,
                                const std::wstring& folder, const std::wstring& initialFile);

    AppSettings& settings_;
    Desktop& desktop_;
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
};

}  // namespace saltor
