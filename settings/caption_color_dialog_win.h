#pragma once

#include <windows.h>

#include <commdlg.h>

#include <array>

#include "winkit/desktop_win.h"

namespace saltor {

// The platform's colour dialog with a title of our own: the hook gives the dialog the caption it
// was handed, so the player sees which colour is being edited.
class CCaptionColorDialog {
public:
    // Full open with the hook; `initial` is preselected unless it is black (black is the dialog's
    // own default). An empty or null caption leaves the platform's title.
    CCaptionColorDialog(HWND owner, COLORREF initial, const wchar_t* caption);
    CCaptionColorDialog(const CCaptionColorDialog&) = delete;
    CCaptionColorDialog& operator=(const CCaptionColorDialog&) = delete;

    // Runs the dialog modally through `desktop`; true when the user confirmed a colour, then
    // given by Color().
    bool DoModal(Desktop& desktop);
    COLORREF Color() const { return record_.rgbResult; }

    // Answers WM_INITDIALOG by setting the title from the record's custom data.
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

    // The 16 custom colours offered by every colour dialog; they last until the program ends.
    static std::array<COLORREF, 16>& CustomColors();

private:
    CHOOSECOLORW record_{};
};

}  // namespace saltor
