#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/about_dlg_win.h"
#include "app/program_paths.h"
#include "handle_census.h"
#include "main_dlg_fixture.h"
#include "settings/prefs_rules.h"
#include "winkit/resource_string_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

class MainWindowTest : public MainDlgFixture {
protected:
    // F1 with the help document at `document`; the viewer it opened, if any, is closed again.
    HWND PressF1(const std::wstring& document) {
        settings_.HelpFilePath = document;
        Key(GetFocus(), VK_F1);
        for (HWND hwnd = nullptr; (hwnd = FindWindowExW(nullptr, hwnd, L"HH Parent", nullptr));) {
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (process == GetCurrentProcessId()) {
                SendMessageW(hwnd, WM_CLOSE, 0, 0);
                Pump();
                return hwnd;
            }
        }
        return nullptr;
    }
};

void ChooseLargestSquares(HWND box) {
    const HWND slider = GetDlgItem(box, IDC_CELL_SIZE);
    SendMessageW(slider, TBM_SETPOS, TRUE, SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    SendMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(MainWindowTest, PreferencesApplySizeAndPicturesAtOnceAndRecentre) {
    const int largest = CellSizeRangeFor(AppSettings::MaxCellSize()).high;
    ASSERT_GT(largest, 70);
    SetWindowPos(Dlg(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    {
        const UniqueHook serving = ServeModals(ChooseLargestSquares);
        Click(IDC_PREFERENCES);
    }
    EXPECT_EQ(Game().cellSize, largest);
    EXPECT_EQ(dlg_->Board().Images().CellSize(), largest);
    const RECT board = ChildRect(BoardWnd(), BoardWnd());
    EXPECT_EQ(board.right - board.left, 8 * largest);
    RECT client{};
    GetClientRect(Dlg(), &client);
    EXPECT_GE(client.bottom, 8 * largest);
    const RECT window = ScreenRect(Dlg()), work = WorkArea(Dlg());
    EXPECT_GE(window.top, work.top);
    EXPECT_LE(window.bottom, work.bottom);
    ExpectCentred(window, work, false);
    EXPECT_TRUE(fs::exists(settingsPath_));
}

// What the About box showed while its own loop ran, before a key or the close box ended it.
struct AboutSeen {
    std::wstring version;
    bool ownerEnabled = true;
    bool okFocused = false;
    RECT rect{};
} g_about;
bool g_aboutByCloseBox = false;

void LookAndClose(HWND box) {
    g_about.version = WindowText(GetDlgItem(box, IDC_ABOUT_VERSION));
    g_about.ownerEnabled = IsWindowEnabled(GetWindow(box, GW_OWNER)) != FALSE;
    g_about.okFocused = GetFocus() == GetDlgItem(box, IDOK);
    GetWindowRect(box, &g_about.rect);
    if (g_aboutByCloseBox) {
        PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {  // a key as the keyboard queues it, for the dialog manager of the modal loop
        PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
    }
}

// Games played, solved, browsed and saved, the panel toggled, Preferences applied: after a first
// round every handle made is given back. (A change of display scale is left out: under Wine each
// icon given to a button leaves a copy behind, though the window makes its icons once per size.)
TEST_F(MainWindowTest, HandlesStayFlatOverGamesAndRepeatedPreferences) {
    const auto round = [this] {
        for (const Square s : {Square{3, 3}, Square{4, 5}, Square{6, 6}, Square{7, 4}}) {
            ClickSquare(s);
        }
        for (const int id : {IDC_HINT, IDC_SAVE_STUDY, IDC_SOLVE, IDC_FIRST, IDC_NEW_GAME}) {
            Click(id);
        }
        Key(BoardWnd(), VK_SPACE);
        Key(BoardWnd(), VK_SPACE);
        {
            const UniqueHook serving =
                ServeModals([](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
            Click(IDC_PREFERENCES);
        }
        Pump();
        FillWindowDcCache(Dlg());
    };
    round();
    const HandleCensus first = HandleCensus::Take();
    round();
    round();
    const HandleCensus later = HandleCensus::Take();
    EXPECT_TRUE(later.SameAs(first)) << first.Describe() << "\n" << later.Describe();
}

TEST_F(MainWindowTest, AboutOpensCentredOverItsOwnerWithTheVersion) {
    EXPECT_EQ(LoadResourceString(9999), L"");  // no such string
    EXPECT_EQ(VersionTextOf(fs::path(SALTOR_KNIGHT_CUR_PATH).wstring()), L"Version \u00DF 0.0.0.0");
    EXPECT_EQ(VersionTextOf(L"C:\\nowhere\\Saltor.exe"), L"Version \u00DF 0.0.0.0");
    SetWindowPos(Dlg(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // off the screen's centre
    for (const bool closeBox : {false, true}) {
        g_about = AboutSeen{};
        g_aboutByCloseBox = closeBox;
        SetActiveWindow(Dlg());
        const UniqueHook serving = ServeModals(LookAndClose);
        if (closeBox) {
            Click(ID_APP_ABOUT);
        } else {
            EXPECT_EQ(CAboutDlg().DoModal(Dlg()), IDCANCEL);
        }
        EXPECT_EQ(g_about.version, L"Version 3.0");  // the tests carry the program's resources
        EXPECT_FALSE(g_about.ownerEnabled);
        EXPECT_TRUE(g_about.okFocused);
        ExpectCentred(g_about.rect, ScreenRect(Dlg()));
        EXPECT_TRUE(IsWindowEnabled(Dlg()));
    }
    // A hidden owner: the box goes to the middle of the work area.
    ShowWindow(Dlg(), SW_HIDE);
    CAboutDlg hidden;
    ASSERT_NE(hidden.CreateModeless(Dlg()), nullptr);
    ExpectCentred(ScreenRect(hidden.Hwnd()), WorkArea(hidden.Hwnd()));
    SendMessageW(hidden.Hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(hidden.Result(), IDOK);
}

// A copy of the program's document: alone, the viewer shows it. Under Wine with no HTML engine
// (as in the test prefix), its pages beside it go to the browser instead, on the first page.
TEST_F(MainWindowTest, HelpOpensTheViewerOrUnderWineItsPagesInTheBrowser) {
    const fs::path document = HelpFilePathFor(fs::path(SALTOR_EXE_PATH).wstring());
    if (!fs::exists(document)) {
        GTEST_SKIP() << "no help document beside the program";
    }
    const fs::path copy = folder_ / L"Saltor.chm";
    fs::copy_file(document, copy, fs::copy_options::overwrite_existing);
    EXPECT_NE(PressF1(copy.wstring()), nullptr);
    EXPECT_EQ(PressF1((folder_ / L"Absent.chm").wstring()), nullptr);
    EXPECT_TRUE(desktop_.pages.empty());
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) {
        GTEST_SKIP() << "the pages go to a browser under Wine only";
    }
    fs::create_directory(folder_ / L"Saltor-aide");
    const fs::path page = folder_ / L"Saltor-aide" / L"index.htm";
    std::ofstream(page) << "<p>Sommaire</p>";
    EXPECT_EQ(PressF1(copy.wstring()), nullptr);
    Click(IDC_HELP_BUTTON);
    EXPECT_EQ(desktop_.pages, (std::vector<std::wstring>{page.wstring(), page.wstring()}));
}

// Resting on an "X" square, the player reads why the move lost, and while the tip shows the
// board outlines the squares it names in the mark colour.
TEST_F(MainWindowTest, TheTipOfAnXSaysWhyAndTheBoardOutlinesItsSquares) {
    for (const wchar_t* name : {L"c5", L"a6", L"b4", L"d5", L"b6", L"c8", L"e7"}) {
        ClickSquare({name[0] - L'a', name[1] - L'1'});
    }
    const int cell = Game().cellSize;
    const LPARAM c6 = MAKELPARAM(2 * cell + cell / 2, 2 * cell + cell / 2);
    TTTOOLINFOW tool{};
    const HWND tip = TipOf(BoardWnd(), tool);
    ASSERT_NE(tip, nullptr);
    const auto tipOverC6 = [&] {
        SendMessageW(BoardWnd(), WM_MOUSEMOVE, 0, c6);
        wchar_t text[512] = {};
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(text);
    };
    // Over the empty square, nothing; the move played there under the pointer loses, and the
    // pointer's next move reads why; taken back, nothing again. The real pointer rests there
    // too: the end of the search looks where it is.
    POINT screen{2 * cell + cell / 2, 2 * cell + cell / 2};
    ClientToScreen(BoardWnd(), &screen);
    MovePointer(screen);
    if (HasFatalFailure()) {
        return;
    }
    EXPECT_EQ(tipOverC6(), L"");
    ClickSquare({2, 5});
    ASSERT_EQ(Game().tour.firstLostMove, 7);
    EXPECT_EQ(tipOverC6(),
              L"Les cases a7 et b8 n'ont que deux accès chacune, dont le cavalier : "
              L"il ne peut sauter que vers l'une d'elles.");
    Click(IDC_BACK);
    EXPECT_EQ(tipOverC6(), L"");
    ClickSquare({2, 5});
    EXPECT_NE(tipOverC6(), L"");

    const auto framed = [&](Square s) {
        const WindowDc dc(BoardWnd());
        const int left = s.column * cell, top = (7 - s.row) * cell;
        return GetPixel(dc.Get(), left, top + cell / 2) == RGB(0xC0, 0, 0) &&
               GetPixel(dc.Get(), left + cell / 2, top + cell - 1) == RGB(0xC0, 0, 0);
    };
    EXPECT_FALSE(framed({0, 6}));
    NMHDR shown{tip, 0, TTN_SHOW};
    SendMessageW(BoardWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&shown));
    Pump();
    EXPECT_TRUE(framed({0, 6}));
    EXPECT_TRUE(framed({1, 7}));
    EXPECT_FALSE(framed({0, 7}));
    NMHDR gone{tip, 0, TTN_POP};
    SendMessageW(BoardWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&gone));
    Pump();
    EXPECT_FALSE(framed({0, 6}));
}

}  // namespace
}  // namespace saltor
