// What the Preferences scenarios (scenarios/preferences*.txt) cannot say: its tips, where it
// opens, and how its colour swatches look and title their dialog.

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <utility>

#include "main_dlg_fixture.h"
#include "settings/caption_color_dialog_win.h"
#include "settings/prefs_dlg_win.h"

namespace saltor {
namespace {

using PrefsDlgTest = MainDlgFixture;

TEST_F(PrefsDlgTest, TipsPlacementAndSwatches) {
    CPrefsDlg prefs(settings_, desktop_);
    ASSERT_NE(prefs.CreateModeless(nullptr), nullptr);
    // One tip window for the seven fields that explain themselves.
    TTTOOLINFOW tool{};
    const HWND tips = TipOf(GetDlgItem(prefs.Hwnd(), IDC_WHITE_IMAGE), tool);
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(GetWindow(tips, GW_OWNER), prefs.Hwnd());
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 7);
    EXPECT_EQ(SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0), 250);
    // With no owner, centred on the work area.
    ExpectCentred(ScreenRect(prefs.Hwnd()), WorkArea(prefs.Hwnd()));

    // The swatches lie over their placeholders; one shows the background with a digit in the
    // text colour: white on black for the black squares.
    const RECT place = ChildRect(prefs.Hwnd(), GetDlgItem(prefs.Hwnd(), IDC_BLACK_SWATCH));
    const HWND swatch = ChildWindowFromPoint(
        prefs.Hwnd(), POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2});
    EXPECT_NE(swatch, GetDlgItem(prefs.Hwnd(), IDC_BLACK_SWATCH));
    const RECT over = ChildRect(prefs.Hwnd(), swatch);
    EXPECT_TRUE(EqualRect(&over, &place));
    RECT r{};
    GetClientRect(swatch, &r);
    const WindowDc screen(nullptr);
    const UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
    const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), r.right, r.bottom));
    const SelectedObject selected(dc.Get(), bitmap.Get());
    SendMessageW(swatch, WM_ERASEBKGND, WPARAM(dc.Get()), 0);
    long digit = 0, x = 0, y = 0;
    for (int at = 0; at < r.right * r.bottom; ++at) {
        const bool white = GetPixel(dc.Get(), at % r.right, at / r.right) == RGB(255, 255, 255);
        digit += white;
        x += white ? at % r.right : 0;
        y += white ? at / r.right : 0;
    }
    EXPECT_EQ(GetPixel(dc.Get(), 0, 0), RGB(0, 0, 0));
    ASSERT_GT(digit, 3);
    EXPECT_LT(digit, r.right * r.bottom / 4);
    EXPECT_NEAR(x / digit, r.right / 2, 6);
    EXPECT_NEAR(y / digit, r.bottom / 2, 6);

    // Its tip, made at its first paint, follows a new size.
    SetWindowPos(swatch, nullptr, 0, 0, 30, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_NE(TipOf(swatch, tool), nullptr);
    EXPECT_EQ(std::pair(tool.rect.right, tool.rect.bottom), std::pair(30L, 20L));

    // The colour dialog's hook titles it when it starts, and only then.
    CHOOSECOLORW record{};
    record.lCustData = reinterpret_cast<LPARAM>(L"Titre");
    const HWND titled = GetDlgItem(prefs.Hwnd(), IDC_CELL_SIZE_TEXT);
    CCaptionColorDialog::HookProc(titled, WM_COMMAND, 0, LPARAM(&record));
    EXPECT_EQ(WindowText(titled), L"70");
    CCaptionColorDialog::HookProc(titled, WM_INITDIALOG, 0, LPARAM(&record));
    EXPECT_EQ(WindowText(titled), L"Titre");
}

}  // namespace
}  // namespace saltor
