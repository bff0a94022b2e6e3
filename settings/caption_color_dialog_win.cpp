#include "settings/caption_color_dialog_win.h"

namespace saltor {

CCaptionColorDialog::CCaptionColorDialog(HWND owner, COLORREF initial, const wchar_t* caption) {
    record_.lStructSize = sizeof(record_);
    record_.hwndOwner = owner;
    record_.lpCustColors = CustomColors().data();
    record_.Flags = CC_FULLOPEN | CC_ENABLEHOOK;
    record_.lpfnHook = HookProc;
    // Kept even without CC_RGBINIT, so a cancel can never hand back a stray colour.
    record_.rgbResult = initial;
    if (initial != RGB(0, 0, 0)) {
        record_.Flags |= CC_RGBINIT;
    }
    if (caption != nullptr && caption[0] != L'\0') {
        record_.lCustData = reinterpret_cast<LPARAM>(caption);
    }
}

bool CCaptionColorDialog::DoModal(Desktop& desktop) {
    return desktop.PickColor(record_);
}

UINT_PTR CALLBACK CCaptionColorDialog::HookProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG) {
        return 0;
    }
    // For a colour dialog the init message carries the record itself.
    const auto* record = reinterpret_cast<const CHOOSECOLORW*>(lParam);
    if (record != nullptr && record->lCustData != 0) {
        SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(record->lCustData));
    }
    return TRUE;
}

std::array<COLORREF, 16>& CCaptionColorDialog::CustomColors() {
    static std::array<COLORREF, 16> colors = [] {
        std::array<COLORREF, 16> white{};
        white.fill(RGB(255, 255, 255));
        return white;
    }();
    return colors;
}

}  // namespace saltor
