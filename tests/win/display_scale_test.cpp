// The main window, Preferences and About at the display scale the prefix runs at (ctest runs
// this file again in a prefix at 192 dpi): every control inside its window, none over another,
// the window on the screen, squares no smaller than the scale asks for unless the screen is too
// low. Each check prints its figures, so a run at any LogPixels gives the table of that scale.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/about_dlg_win.h"
#include "main_dlg_fixture.h"
#include "settings/prefs_dlg_win.h"
#include "winkit/window_helpers_win.h"

namespace saltor {
namespace {

bool IsFrame(HWND control) {
    wchar_t cls[32] = {};
    GetClassNameW(control, cls, 32);
    return lstrcmpiW(cls, L"Button") == 0 &&
           (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The visible children of `window` that leave its client area or lie over one another (a frame
// and what it holds aside), one line each; empty when the layout is sound.
std::string LayoutFaults(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    std::vector<HWND> shown;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c)) {
            shown.push_back(c);
        }
    }
    std::string faults;
    const auto name = [](HWND c) { return std::to_string(GetDlgCtrlID(c)); };
    for (size_t i = 0; i < shown.size(); ++i) {
        const RECT a = ChildRect(window, shown[i]);
        if (!Inside(a, client)) {
            faults += name(shown[i]) + " outside; ";
        }
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const RECT b = ChildRect(window, shown[j]);
            RECT both{};
            // A frame holds controls; a colour swatch covers its placeholder exactly.
            if (IntersectRect(&both, &a, &b) && !EqualRect(&a, &b) &&
                !(IsFrame(shown[i]) && Inside(b, a)) && !(IsFrame(shown[j]) && Inside(a, b))) {
                faults += name(shown[i]) + " over " + name(shown[j]) + "; ";
            }
        }
    }
    return faults;
}

bool OnScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return Inside(r, monitor.rcMonitor);
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// What a modal box showed once it was up: its faults and whether it lay on the screen.
std::string g_boxFaults;
void CALLBACK LookAtBox(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = GetActiveWindow();
    if (box == nullptr || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId() ||
        GetWindow(box, GW_OWNER) == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    g_boxFaults = LayoutFaults(box) + (OnScreen(box) ? "" : "off the screen");
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

class DisplayScaleTest : public MainDlgFixture {
protected:
    std::string BoxFaults(int command) {
        g_boxFaults = "never shown";
        SetActiveWindow(Dlg());
        SetTimer(nullptr, 0, 20, LookAtBox);
        Click(command);
        return g_boxFaults;
    }
};

TEST_F(DisplayScaleTest, EveryWindowIsWholeAtTheScreensScale) {
    const int dpi = ScreenDpi();
    const int smallest = std::min(MulDiv(70, dpi, 96), AppSettings::MaxCellSize());
    const auto expectWhole = [&] {
        const std::string faults = LayoutFaults(Dlg());
        std::printf("%d dpi, squares of %d: %s\n", dpi, Game().cellSize, faults.c_str());
        EXPECT_EQ(faults, "") << Game().cellSize;
        EXPECT_TRUE(OnScreen(Dlg())) << Game().cellSize;
    };
    expectWhole();  // the squares the settings give at this scale
    EXPECT_GE(Game().cellSize, smallest);
    for (const int cell : {smallest, AppSettings::MaxCellSize()}) {
        settings_.CellSize = cell;
        dlg_->Board().FollowSettings();
        SendMessageW(Dlg(), WM_SIZE, 0, 0);
        Pump();
        expectWhole();
    }
    EXPECT_EQ(BoxFaults(IDC_PREFERENCES), "");
    EXPECT_EQ(BoxFaults(ID_APP_ABOUT), "");
}

// The window carried to a monitor at 200 % and back: it goes where the system suggests, its
// squares double within the screen's bounds and come back, and the game is not touched.
TEST_F(DisplayScaleTest, AChangeOfScaleRescalesTheWindowAndKeepsTheGame) {
    const int dpi = ScreenDpi();
    for (const Square s : {Square{2, 1}, Square{3, 3}, Square{1, 2}, Square{0, 0}}) {
        ClickSquare(s);  // c2 d4 b3 a1: lost, so the marks must survive too
    }
    const std::wstring tour = EncodeTour(Game().tour);
    const int lost = Game().tour.firstLostMove, cell = Game().cellSize;
    ASSERT_NE(lost, NoMark);
    for (const int to : {2 * dpi, dpi}) {
        RECT suggested{};
        GetWindowRect(Dlg(), &suggested);
        OffsetRect(&suggested, 16, 8);
        SendMessageW(Dlg(), WM_DPICHANGED, MAKEWPARAM(to, to),
                     reinterpret_cast<LPARAM>(&suggested));
        Pump();
        RECT placed{};
        GetWindowRect(Dlg(), &placed);
        EXPECT_EQ(placed.left, suggested.left);
        EXPECT_EQ(placed.top, suggested.top);
        EXPECT_EQ(Game().cellSize,
                  to == dpi ? cell : std::min(2 * cell, AppSettings::MaxCellSize()));
        EXPECT_EQ(ChildRect(Dlg(), BoardWnd()).right, 8 * Game().cellSize);
        EXPECT_EQ(LayoutFaults(Dlg()), "") << to;
        EXPECT_EQ(EncodeTour(Game().tour), tour);
        EXPECT_EQ(Game().tour.firstLostMove, lost);
    }
}

}  // namespace
}  // namespace saltor
