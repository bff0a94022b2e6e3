#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
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

namespace saltor {

// Queues a key press and release for `target` as the keyboard would, with Control held down or
// not (and left so).
inline void PostKey(HWND target, WPARAM vk, bool ctrl) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = static_cast<BYTE>(ctrl ? 0x80 : 0);
    SetKeyboardState(keys);
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), 0)) << 16;
    PostMessageW(target, WM_KEYDOWN, vk, 1 | scan);
    PostMessageW(target, WM_KEYUP, vk, 1 | scan | 0xC0000000);
}

// The real main window on this thread, driven by messages through a registered loop as in the
// program, over a game file of its own in a scratch folder. This test program's settings file is
// put aside, so squares are 70 pixels.
class MainDlgFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::rename(settingsPath_, aside_, ignored_);
        Open();
    }

    void TearDown() override {
        dlg_.reset();
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, gamePath_.c_str());  // Wine's cache
        SetFileAttributesW(gamePath_.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove(settingsPath_, ignored_);  // Preferences may have saved
        std::filesystem::rename(aside_, settingsPath_, ignored_);
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
    void Key(HWND target, WPARAM vk, bool ctrl = false) {
        PostKey(target, vk, ctrl);
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

    // The board's mark tip: the tooltip with a tool on the board (a child's tips belong to its
    // top-level window).
    HWND MarkTip() const {
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = BoardWnd();
        tool.uId = 1;
        HWND tip = nullptr;
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr));) {
            tip = SendMessageW(w, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) ? w : tip;
        }
        return tip;
    }

    const std::filesystem::path settingsPath_ = SettingsFilePath();
    const std::filesystem::path aside_ = settingsPath_.wstring() + L".aside";
    std::error_code ignored_;
    const ScratchFolder folder_{"main"};
    std::wstring gamePath_ = (folder_ / L"Saltor.ini").wstring();
    CMessageLoop loop_;
    AppSettings settings_;
    RecordingDesktop desktop_;
    std::unique_ptr<CMainDlg> dlg_;
};

}  // namespace saltor
