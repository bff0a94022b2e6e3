#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/main_dlg_win.h"
#include "files/tour_text.h"
#include "hostile_files.h"
#include "recording_desktop.h"
#include "resources/resource.h"
#include "settings/settings_file_win.h"
#include "winkit/message_loop_win.h"
#include "winkit/window_helpers_win.h"

namespace saltor {

// This test program's settings folder (...\Lorvaine\win_tests), put aside with whatever it
// held while a test runs: the test starts with none, and squares are 70 pixels.
class SettingsAside {
protected:
    SettingsAside() {
        std::filesystem::rename(settingsFolder_, aside_, ignored_);
        std::filesystem::remove(settingsFolder_.parent_path(), ignored_);  // unless others use it
    }
    ~SettingsAside() {
        SetFileAttributesW(settingsPath_.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(settingsFolder_, ignored_);
        std::filesystem::rename(aside_, settingsFolder_, ignored_);
    }

    const std::filesystem::path settingsFolder_ = SettingsFolder();
    const std::filesystem::path settingsPath_ = SettingsFilePath();
    const std::filesystem::path aside_ =
        settingsFolder_.parent_path().parent_path() / L"saltor-win_tests.aside";
    std::error_code ignored_;
};

// The tooltip window that holds the tool (window, 1), as the program numbers its tools, and
// the tool's record; null when none does.
inline HWND TipOf(HWND window, TTTOOLINFOW& tool) {
    tool = TTTOOLINFOW{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window;
    tool.uId = 1;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr));) {
        if (SendMessageW(w, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
            return w;
        }
    }
    return nullptr;
}

// Moves the real pointer to `target` on screen and waits until it is there: under X the server
// moves it, and until then the old position is reported.
inline void MovePointer(POINT target) {
    SetCursorPos(target.x, target.y);
    POINT now{};
    for (int wait = 0; wait < 100 && GetCursorPos(&now) && (now.x != target.x || now.y != target.y);
         ++wait) {
        Sleep(10);
    }
    ASSERT_EQ(std::pair(now.x, now.y), std::pair(target.x, target.y));
}

// Whether what `window` shows, children included (within `part` of its client area, when given),
// once its pending paints are done, is what a full repaint draws.
inline bool ShowsAFullRepaint(HWND window, std::optional<RECT> part = std::nullopt) {
    const auto shown = [window, part] {
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client{};
        GetClientRect(window, &client);
        const WindowDc screen(window);
        const UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        BITMAPINFO info{
            {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
            {}};
        void* bits = nullptr;
        const UniqueBitmap bitmap(
            CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        {
            const SelectedObject selected(dc.Get(), bitmap.Get());
            BitBlt(dc.Get(), 0, 0, client.right, client.bottom, screen.Get(), 0, 0, SRCCOPY);
        }
        GdiFlush();
        const auto* pixels = static_cast<const uint32_t*>(bits);
        const RECT r = part.value_or(client);
        std::vector<uint32_t> seen;
        for (int y = std::max<int>(r.top, 0); pixels && y < std::min(r.bottom, client.bottom);
             ++y) {
            for (int x = std::max<int>(r.left, 0); x < std::min(r.right, client.right); ++x) {
                seen.push_back(pixels[y * client.right + x]);
            }
        }
        return seen;
    };
    const std::vector<uint32_t> before = shown();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return !before.empty() && before == shown();
}

// A window's place on screen, and the work area of its monitor.
inline RECT ScreenRect(HWND window) {
    return ChildRect(nullptr, window);
}
inline RECT WorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}
// Centred over `over`, to the pixel or two that halving leaves.
inline void ExpectCentred(const RECT& r, const RECT& over, bool vertically = true) {
    EXPECT_NEAR(r.left + r.right, over.left + over.right, 2);
    if (vertically) {
        EXPECT_NEAR(r.top + r.bottom, over.top + over.bottom, 2);
    }
}

using UniqueHook = UniqueResource<HHOOK, handle_traits::NullIsEmpty<HHOOK, UnhookWindowsHookEx>>;

// The real main window on this thread, driven by messages through a registered loop as in the
// program, over a game file of its own in a scratch folder, with the settings put aside.
class MainDlgFixture : public ::testing::Test, protected SettingsAside {
protected:
    void SetUp() override { Open(); }

    void TearDown() override {
        dlg_.reset();
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, gamePath_.c_str());  // Wine's cache
        SetFileAttributesW(gamePath_.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    // (Re)starts the window, which fills its study list from the game file.
    void Open() {
        dlg_.reset();
        dlg_ = std::make_unique<CMainDlg>(settings_, desktop_);
        dlg_->SetGameFilePath(gamePath_);
        ASSERT_NE(dlg_->Create(GetModuleHandleW(nullptr)), nullptr);
        ShowWindow(Dlg(), SW_SHOW);
        Pump();
    }

    // Runs the loop over everything queued, the paints it asked for (which the quit request
    // comes before), then the idle pass of a drained queue.
    void Pump() {
        PostQuitMessage(0);
        loop_.Run();
        RedrawWindow(Dlg(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        dlg_->OnIdle();
    }

    HWND Dlg() const { return dlg_->Hwnd(); }
    HWND Item(int id) const { return GetDlgItem(Dlg(), id); }
    HWND BoardWnd() const { return dlg_->Board().Hwnd(); }
    HWND Combo() const { return Item(IDC_STUDY_LIST); }
    HWND StudyEdit() const { return GetWindow(Combo(), GW_CHILD); }
    BoardGame& Game() { return dlg_->Board().Game(); }

    void Click(int id) {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
        Pump();
    }
    // A key pressed and released for `target` as the keyboard queues it, with Control held down
    // or not (and left so).
    void Key(HWND target, WPARAM vk, bool ctrl = false) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = static_cast<BYTE>(ctrl ? 0x80 : 0);
        SetKeyboardState(keys);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), 0)) << 16;
        PostMessageW(target, WM_KEYDOWN, vk, 1 | scan);
        PostMessageW(target, WM_KEYUP, vk, 1 | scan | 0xC0000000);
        Pump();
    }
    void ClickSquare(Square s) {
        const int cell = Game().cellSize;
        const LPARAM at = MAKELPARAM(s.column * cell + cell / 2, (7 - s.row) * cell + cell / 2);
        SendMessageW(BoardWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(BoardWnd(), WM_LBUTTONUP, 0, at);
        Pump();
    }

    // The game controls in a row: '-' hidden, 'o' shown but disabled, 'X' shown and enabled.
    std::string Panel() const {
        std::string states;
        for (int id : {IDC_FIRST, IDC_BACK, IDC_FORWARD, IDC_LAST, IDC_BROWSE_FRAME, IDC_HINT,
                       IDC_SOLVE, IDC_NEW_GAME, IDC_SAVE_STUDY, IDC_LOAD_STUDY}) {
            const bool shown = (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
            states += !shown ? '-' : IsWindowEnabled(Item(id)) ? 'X' : 'o';
        }
        return states;
    }

    // The names in the study list, in its order; names from a damaged file may be any length.
    std::vector<std::wstring> Listed() const {
        std::vector<std::wstring> names;
        for (int i = 0, n = static_cast<int>(SendMessageW(Combo(), CB_GETCOUNT, 0, 0)); i < n;
             ++i) {
            std::wstring text(SendMessageW(Combo(), CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
            text.resize(SendMessageW(Combo(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0])));
            names.push_back(text);
        }
        return names;
    }

    // The board's mark tip.
    HWND MarkTip() const {
        TTTOOLINFOW tool{};
        return TipOf(BoardWnd(), tool);
    }

    // Serves each modal box once, as soon as its own loop waits and tells its owner, until the
    // hook returned goes. Only around the actions that can open one: under Wine the hook costs
    // every sent message a trip to the server.
    [[nodiscard]] static UniqueHook ServeModals(std::function<void(HWND box)> serve) {
        serve_ = std::move(serve);
        served_ = nullptr;
        return UniqueHook(
            SetWindowsHookExW(WH_CALLWNDPROC, OnSentMessage, nullptr, GetCurrentThreadId()));
    }
    static LRESULT CALLBACK OnSentMessage(int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        const auto box = reinterpret_cast<HWND>(sent->lParam);
        if (code == HC_ACTION && sent->message == WM_ENTERIDLE && sent->wParam == MSGF_DIALOGBOX &&
            IsWindowVisible(box) && box != served_) {
            served_ = box;
            serve_(box);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline std::function<void(HWND)> serve_;
    static inline HWND served_ = nullptr;

    const ScratchFolder folder_{"main"};
    std::wstring gamePath_ = (folder_ / L"Saltor.ini").wstring();
    CMessageLoop loop_;
    AppSettings settings_;
    RecordingDesktop desktop_;
    std::unique_ptr<CMainDlg> dlg_;
};

}  // namespace saltor
