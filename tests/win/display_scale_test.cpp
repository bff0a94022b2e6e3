// The windows at the display scale the prefix runs at (ctest runs them again at 192 dpi). Each
// check prints the squares and the faults, so a run at any LogPixels gives that scale's figures.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/drill_dlg_win.h"
#include "main_dlg_fixture.h"
#include "winkit/window_helpers_win.h"

namespace saltor {
namespace {

bool Inside(const RECT& inner, const RECT& outer) {
    RECT both{};
    return IntersectRect(&both, &inner, &outer) && EqualRect(&both, &inner);
}

bool IsFrame(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The visible children that leave the client area or lie over another, as "id over id; ". A
// frame holds controls, and a colour swatch covers its placeholder exactly.
std::string LayoutFaults(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    std::string faults;
    for (HWND a = GetWindow(window, GW_CHILD); a != nullptr; a = GetWindow(a, GW_HWNDNEXT)) {
        const RECT ra = ChildRect(window, a);
        faults += IsWindowVisible(a) && !Inside(ra, client)
                      ? std::to_string(GetDlgCtrlID(a)) + " outside; "
                      : "";
        for (HWND b = GetWindow(a, GW_HWNDNEXT); b != nullptr; b = GetWindow(b, GW_HWNDNEXT)) {
            RECT rb = ChildRect(window, b), both{};
            if (IsWindowVisible(a) && IsWindowVisible(b) && IntersectRect(&both, &ra, &rb) &&
                !EqualRect(&ra, &rb) && !(IsFrame(a) && Inside(rb, ra)) &&
                !(IsFrame(b) && Inside(ra, rb))) {
                faults += std::to_string(GetDlgCtrlID(a)) + " over " +
                          std::to_string(GetDlgCtrlID(b)) + "; ";
            }
        }
    }
    return faults;
}

using DisplayScaleTest = MainDlgFixture;

TEST_F(DisplayScaleTest, EveryWindowIsWholeWithTheSmallestAndLargestSquares) {
    const int dpi = WindowDpi(Dlg()), largest = AppSettings::MaxCellSize();
    EXPECT_EQ(Game().cellSize, std::min(MulDiv(70, dpi, 96), largest));  // as the settings load
    for (const int cell : {Game().cellSize, largest}) {
        settings_.CellSize = cell;
        dlg_->Board().FollowSettings();
        SendMessageW(Dlg(), WM_SIZE, 0, 0);
        Pump();
        RECT window{}, screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        GetWindowRect(Dlg(), &window);
        std::printf("%d dpi, squares of %d: %s\n", dpi, cell, LayoutFaults(Dlg()).c_str());
        EXPECT_EQ(LayoutFaults(Dlg()), "") << cell;
        EXPECT_TRUE(Inside(window, screen)) << cell;
    }
    // The drill window with its board, as large as the largest squares allow.
    CDrillDlg drills(settings_, desktop_);
    ASSERT_NE(drills.CreateModeless(Dlg()), nullptr);
    ShowWindow(drills.Hwnd(), SW_SHOWNA);  // hidden, its controls would count as none
    EXPECT_EQ(LayoutFaults(drills.Hwnd()), "");
    EXPECT_TRUE(Inside(ScreenRect(drills.Hwnd()),
                       RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    for (const int box : {IDD_PREFERENCES, IDD_ABOUTBOX, IDD_DRILL, IDD_PROGRESS}) {
        const UniqueWindow shown(CreateDialogParamW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(box), Dlg(),
            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0));
        EXPECT_EQ(LayoutFaults(shown.Get()), "") << box;
    }
}

// Carried to a monitor at twice the scale and back: the window goes where the system suggests,
// its squares double within the screen's bounds and come back, and the game is not touched.
TEST_F(DisplayScaleTest, AChangeOfScaleRescalesTheWindowAndKeepsTheGame) {
    const int dpi = WindowDpi(Dlg()), cell = Game().cellSize;
    for (const Square s : {Square{2, 1}, Square{3, 3}, Square{1, 2}, Square{0, 0}}) {
        ClickSquare(s);  // c2 d4 b3 a1: lost, so there are marks to keep
    }
    const TourState tour = Game().tour;
    for (const int to : {2 * dpi, dpi}) {
        RECT suggested{}, placed{};
        GetWindowRect(Dlg(), &suggested);
        OffsetRect(&suggested, 16, 8);
        SendMessageW(Dlg(), WM_DPICHANGED, MAKEWPARAM(to, to),
                     reinterpret_cast<LPARAM>(&suggested));
        Pump();
        GetWindowRect(Dlg(), &placed);
        EXPECT_EQ(placed.left, suggested.left);
        EXPECT_EQ(placed.top, suggested.top);
        EXPECT_EQ(Game().cellSize,
                  to == dpi ? cell : std::min(2 * cell, AppSettings::MaxCellSize()));
        EXPECT_EQ(ChildRect(Dlg(), BoardWnd()).right, 8 * Game().cellSize);
        EXPECT_EQ(LayoutFaults(Dlg()), "") << to;
        EXPECT_EQ(EncodeTour(Game().tour), EncodeTour(tour));
        EXPECT_EQ(Game().tour.firstLostMove, tour.firstLostMove);
    }
    // The drill window too: its squares shrink at half the scale and come back as they were.
    CDrillDlg drills(settings_, desktop_);
    ASSERT_NE(drills.CreateModeless(Dlg()), nullptr);
    const auto side = [&drills] { return ChildRect(drills.Hwnd(), drills.Board().Hwnd()).right; };
    const int before = side();
    for (const int to : {dpi / 2, dpi}) {
        RECT suggested = ScreenRect(drills.Hwnd());
        SendMessageW(drills.Hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(side() == before, to == dpi) << to;
    }
}

}  // namespace
}  // namespace saltor
