#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/about_dlg_win.h"
#include "app/program_paths.h"
#include "main_dlg_fixture.h"

namespace saltor {
namespace {

std::wstring Widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

TEST(AboutVersionTest, TheProgramsOwnDataGivesItsReleaseAndNoDataThePreReleaseZeros) {
    EXPECT_EQ(VersionTextOf(Widen(SALTOR_EXE_PATH)), L"Version 3.0");
    EXPECT_EQ(ProgramVersionText(), L"Version 3.0");  // the tests carry the same resources
    EXPECT_EQ(VersionTextOf(Widen(SALTOR_KNIGHT_CUR_PATH)), L"Version \u00DF 0.0.0.0");
    EXPECT_EQ(VersionTextOf(L"C:\\nowhere\\Saltor.exe"), L"Version \u00DF 0.0.0.0");
}

// What the timer saw of the About box while its own loop ran.
struct AboutSeen {
    HWND owner = nullptr;
    HWND box = nullptr;
    std::wstring version;
    bool ownerDisabled = false;
    bool okFocused = false;
    RECT rect{};
    bool viaCloseBox = false;
    int ticksAfterClosing = 0;
};
AboutSeen g_seen;

HWND FindAboutBox() {
    for (HWND hwnd = nullptr;
         (hwnd = FindWindowExW(nullptr, hwnd, L"#32770", L"\u00C0 propos du Cavalier Saltor"));) {
        if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId() &&
            IsWindowVisible(hwnd)) {
            return hwnd;
        }
    }
    return nullptr;
}

void CALLBACK CloseAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindAboutBox();
    if (g_seen.box != nullptr) {
        // Still open long after the key: ended by hand so that the test fails instead of hanging.
        if (box == nullptr || ++g_seen.ticksAfterClosing > 50) {
            KillTimer(nullptr, timer);
            if (box != nullptr) {
                g_seen.ticksAfterClosing = -1;
                EndDialog(box, 99);
            }
        }
        return;
    }
    if (box == nullptr) {
        return;
    }
    g_seen.box = box;
    wchar_t text[64] = {};
    GetDlgItemTextW(box, IDC_ABOUT_VERSION, text, 64);
    g_seen.version = text;
    g_seen.ownerDisabled = !IsWindowEnabled(g_seen.owner);
    g_seen.okFocused = GetFocus() == GetDlgItem(box, IDOK);
    GetWindowRect(box, &g_seen.rect);
    if (g_seen.viaCloseBox) {
        PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {  // a key as the keyboard queues it, for the dialog manager of the modal loop
        PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
    }
}

class AboutBoxTest : public MainDlgFixture {};

TEST_F(AboutBoxTest, OpensCentredOverItsOwnerWithTheVersionAndEscapeOrTheCloseBoxEndIt) {
    g_seen = AboutSeen{};
    g_seen.owner = Dlg();
    SetTimer(nullptr, 0, 20, CloseAbout);
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(Dlg()), IDCANCEL);  // 99 when only the timer could end it
    ASSERT_NE(g_seen.box, nullptr);
    EXPECT_EQ(g_seen.version, L"Version 3.0");
    EXPECT_TRUE(g_seen.ownerDisabled);
    EXPECT_TRUE(g_seen.okFocused);
    RECT owner{};
    GetWindowRect(Dlg(), &owner);
    EXPECT_NEAR(g_seen.rect.left + g_seen.rect.right, owner.left + owner.right, 2);
    EXPECT_NEAR(g_seen.rect.top + g_seen.rect.bottom, owner.top + owner.bottom, 2);
    EXPECT_FALSE(IsWindow(g_seen.box));

    // The main window's button, owned by the active window; the close box ends it too.
    g_seen = AboutSeen{};
    g_seen.owner = Dlg();
    g_seen.viaCloseBox = true;
    SetActiveWindow(Dlg());
    SetTimer(nullptr, 0, 20, CloseAbout);
    Click(ID_APP_ABOUT);
    ASSERT_NE(g_seen.box, nullptr);
    EXPECT_NE(g_seen.ticksAfterClosing, -1);
    EXPECT_EQ(g_seen.version, L"Version 3.0");
    EXPECT_FALSE(IsWindow(g_seen.box));
    EXPECT_TRUE(IsWindowEnabled(Dlg()));

    // A hidden owner: the box goes to the middle of the work area.
    ShowWindow(Dlg(), SW_HIDE);
    CAboutDlg hidden;
    ASSERT_NE(hidden.CreateModeless(Dlg()), nullptr);
    RECT box{};
    GetWindowRect(hidden.Hwnd(), &box);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hidden.Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_NEAR(box.left + box.right, monitor.rcWork.left + monitor.rcWork.right, 2);
    EXPECT_NEAR(box.top + box.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 2);
    SendMessageW(hidden.Hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(hidden.Result(), IDOK);
}

HWND FindHelpViewer() {
    for (HWND hwnd = nullptr; (hwnd = FindWindowExW(nullptr, hwnd, L"HH Parent", nullptr));) {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process == GetCurrentProcessId()) {
            return hwnd;
        }
    }
    return nullptr;
}

class AboutHelpTest : public MainDlgFixture {
protected:
    // F1 with the help document at `document`; the viewer it opened, if any, is closed again.
    HWND PressF1(const std::wstring& document) {
        settings_.HelpFilePath = document;
        Key(BoardWnd(), VK_F1);
        Pump();
        HWND viewer = FindHelpViewer();  // the library makes it on this thread, in the call
        if (viewer != nullptr) {
            SendMessageW(viewer, WM_CLOSE, 0, 0);
            Pump();
        }
        return viewer;
    }
};

// A copy of the program's document: alone, the viewer shows it. Under Wine with no HTML engine
// (as in the test prefix), its pages beside it go to the browser instead, on the first page.
TEST_F(AboutHelpTest, HelpOpensTheViewerOrUnderWineItsPagesInTheBrowser) {
    const std::filesystem::path document = HelpFilePathFor(Widen(SALTOR_EXE_PATH));
    if (!std::filesystem::exists(document)) {
        GTEST_SKIP() << "no help document beside the program";
    }
    const std::filesystem::path copy = folder_ / L"Saltor.chm";
    std::filesystem::copy_file(document, copy, std::filesystem::copy_options::overwrite_existing);
    EXPECT_NE(PressF1(copy.wstring()), nullptr);
    EXPECT_TRUE(desktop_.pages.empty());

    // Nothing there at all: nothing shown, nothing reported.
    EXPECT_EQ(PressF1((folder_ / L"Absent.chm").wstring()), nullptr);
    EXPECT_TRUE(desktop_.pages.empty());

    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (GetProcAddress(ntdll, "wine_get_version") == nullptr) {
        GTEST_SKIP() << "the pages go to a browser under Wine only";
    }
    std::filesystem::create_directory(folder_ / L"Saltor-aide");
    const std::filesystem::path page = folder_ / L"Saltor-aide" / L"index.htm";
    std::ofstream(page) << "<p>Sommaire</p>";
    EXPECT_EQ(PressF1(copy.wstring()), nullptr);
    EXPECT_EQ(desktop_.pages, std::vector<std::wstring>{page.wstring()});
}

}  // namespace
}  // namespace saltor
