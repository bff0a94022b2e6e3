#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "recording_desktop.h"
#include "resources/resource.h"
#include "settings/caption_color_dialog_win.h"
#include "settings/color_square_wnd_win.h"
#include "winkit/resource_string_win.h"

namespace saltor {
namespace {

constexpr int kSide = 48;

// What the colour dialog was asked, and what the stand-in answers instead of the player.
struct DialogCall {
    CHOOSECOLORW record{};
    std::wstring caption;
};
std::vector<DialogCall> g_calls;
BOOL g_confirm = TRUE;
COLORREF g_choice = 0;

BOOL WINAPI FakeChooseColor(CHOOSECOLORW* record) {
    DialogCall call{*record, {}};
    if (record->lCustData != 0) {
        call.caption = reinterpret_cast<const wchar_t*>(record->lCustData);
    }
    g_calls.push_back(call);
    record->lpCustColors[0] = RGB(1, 2, 3);  // the player defines a custom colour
    // A cancelled dialog may leave anything in the result; the swatch must not take it.
    record->rgbResult = g_confirm ? g_choice : RGB(77, 77, 77);
    return g_confirm;
}

class ColorSquareTest : public testing::Test {
protected:
    void SetUp() override {
        desktop.pickColor = FakeChooseColor;
        g_calls.clear();
        g_confirm = TRUE;
        parent = CreateWindowExW(0, L"STATIC", L"Préférences", WS_POPUP, 100, 100, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        ASSERT_NE(swatch.Create(parent, RECT{10, 10, 10 + kSide, 10 + kSide}), nullptr);
    }
    void TearDown() override { DestroyWindow(parent); }

    // Draws the swatch into a memory bitmap as its erase-background message does.
    void PaintInto(HDC dc) {
        SendMessageW(swatch.Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }

    RecordingDesktop desktop;
    HWND parent = nullptr;
    CColorSquareWnd swatch{desktop};
};

TEST_F(ColorSquareTest, PaintsTheSampleAndMakesItsTipOnce) {
    const COLORREF back = RGB(10, 120, 200);
    const COLORREF text = RGB(250, 20, 30);
    swatch.SetColors(back, text);

    const WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), kSide, kSide));
    SelectedObject selected(dc.Get(), bitmap.Get());
    PaintInto(dc.Get());

    EXPECT_EQ(GetPixel(dc.Get(), kSide - 1, kSide - 1), back);
    // The digit: pixels of the text colour, around the middle.
    long count = 0, sumX = 0, sumY = 0;
    for (int at = 0; at < kSide * kSide; ++at) {
        const bool digit = GetPixel(dc.Get(), at % kSide, at / kSide) == text;
        count += digit;
        sumX += digit ? at % kSide : 0;
        sumY += digit ? at / kSide : 0;
    }
    ASSERT_GT(count, 3);
    EXPECT_NEAR(sumX / count, kSide / 2, 6);
    EXPECT_NEAR(sumY / count, kSide / 2, 6);

    // The tip of string 161, wrapped at 250 pixels, made only once and gone with the swatch.
    const HWND tip = swatch.Tooltip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 250);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    std::array<wchar_t, 256> buffer{};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = swatch.Hwnd();
    tool.uId = 1;
    tool.lpszText = buffer.data();
    SendMessageW(tip, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(buffer.data()), LoadResourceString(IDS_TIP_COLOR_SWATCH));

    // Another paint makes no second tip.
    PaintInto(dc.Get());
    EXPECT_EQ(swatch.Tooltip(), tip);
    DestroyWindow(swatch.Hwnd());
    EXPECT_FALSE(IsWindow(tip));
}

TEST_F(ColorSquareTest, ClicksEditTheirColourThroughATitledDialog) {
    const std::wstring backTitle = LoadResourceString(IDS_WHITE_BG_COLOR);
    const std::wstring textTitle = LoadResourceString(IDS_WHITE_FG_COLOR);
    ASSERT_FALSE(backTitle.empty());
    swatch.SetCaptions(backTitle, textTitle);
    swatch.SetColors(RGB(240, 240, 240), RGB(0, 0, 0));

    // Left click: the text colour, black, so without an initial colour.
    g_choice = RGB(0, 0, 255);
    SendMessageW(swatch.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].caption, textTitle);
    EXPECT_EQ(g_calls[0].record.Flags, DWORD{CC_FULLOPEN | CC_ENABLEHOOK});
    EXPECT_EQ(g_calls[0].record.lpfnHook, &CCaptionColorDialog::HookProc);
    EXPECT_EQ(swatch.TextColor(), RGB(0, 0, 255));
    EXPECT_EQ(swatch.BackColor(), RGB(240, 240, 240));

    // Right click: the background colour, preselected.
    g_choice = RGB(255, 0, 0);
    SendMessageW(swatch.Hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].caption, backTitle);
    EXPECT_EQ(g_calls[1].record.Flags, DWORD{CC_FULLOPEN | CC_ENABLEHOOK | CC_RGBINIT});
    EXPECT_EQ(g_calls[1].record.rgbResult, RGB(240, 240, 240));
    EXPECT_EQ(swatch.BackColor(), RGB(255, 0, 0));
    EXPECT_EQ(swatch.TextColor(), RGB(0, 0, 255));

    // Cancel changes nothing, whatever the dialog left in its record.
    g_confirm = FALSE;
    SendMessageW(swatch.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(swatch.Hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(swatch.TextColor(), RGB(0, 0, 255));
    EXPECT_EQ(swatch.BackColor(), RGB(255, 0, 0));

    // Another swatch without captions: no title of its own, and the same custom colours, with
    // what the player defined before.
    CColorSquareWnd other(desktop);
    ASSERT_NE(other.Create(parent, RECT{70, 10, 70 + kSide, 10 + kSide}), nullptr);
    SendMessageW(other.Hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(g_calls.size(), 5u);
    EXPECT_EQ(g_calls[4].record.lCustData, 0);
    EXPECT_EQ(g_calls[4].record.lpCustColors, g_calls[0].record.lpCustColors);
    EXPECT_EQ(g_calls[4].record.lpCustColors[0], RGB(1, 2, 3));
    EXPECT_EQ(g_calls[4].record.lpCustColors[15], RGB(255, 255, 255));
}

TEST(ColorDialogHookTest, SetsTheTitleOnlyAtInitAndOnlyWhenGivenOne) {
    const HWND dialog = CreateWindowExW(0, L"STATIC", L"Couleur", WS_POPUP, 0, 0, 100, 100, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    const std::wstring caption = LoadResourceString(IDS_BLACK_FG_COLOR);
    ASSERT_FALSE(caption.empty());
    CHOOSECOLORW record{};
    record.lStructSize = sizeof(record);
    record.lCustData = reinterpret_cast<LPARAM>(caption.c_str());
    auto title = [&] {
        std::array<wchar_t, 300> text{};
        GetWindowTextW(dialog, text.data(), static_cast<int>(text.size()));
        return std::wstring(text.data());
    };

    EXPECT_EQ(
        CCaptionColorDialog::HookProc(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(&record)),
        0u);
    EXPECT_EQ(title(), L"Couleur");
    EXPECT_EQ(
        CCaptionColorDialog::HookProc(dialog, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&record)),
        UINT_PTR{TRUE});
    EXPECT_EQ(title(), caption);

    record.lCustData = 0;  // no caption: the title stays
    CCaptionColorDialog::HookProc(dialog, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&record));
    EXPECT_EQ(title(), caption);
    DestroyWindow(dialog);
}

}  // namespace
}  // namespace saltor
