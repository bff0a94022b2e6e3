#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/main_dlg_win.h"
#include "recording_desktop.h"
#include "resources/resource.h"
#include "settings/settings_file_win.h"
#include "winkit/handles_win.h"
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
// program, over a game file of its own in a fresh temporary folder. This test program's settings
// file is put aside, so squares are 70 pixels.
class MainDlgFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::rename(settingsPath_, aside_, ignored_);
        static int serial = 0;
        folder_ = std::filesystem::temp_directory_path() /
                  ("saltor-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++serial));
        std::filesystem::create_directories(folder_);
        gamePath_ = (folder_ / L"Saltor.ini").wstring();
        Open();
    }

    void TearDown() override {
        dlg_.reset();
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, gamePath_.c_str());  // Wine's cache
        SetFileAttributesW(gamePath_.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(folder_, ignored_);
        std::filesystem::rename(aside_, settingsPath_, ignored_);  // the window never saves
    }

    // (Re)starts the window, which fills its study list from the game file.
    void Open(const std::wstring& gamePath = {}) {
        dlg_.reset();
        dlg_ = std::make_unique<CMainDlg>(settings_, desktop_);
        dlg_->SetGameFilePath(gamePath.empty() ? gamePath_ : gamePath);
        ASSERT_NE(dlg_->Create(GetModuleHandleW(nullptr)), nullptr);
        ShowWindow(Dlg(), SW_SHOW);
        Pump();
    }

    // Runs the loop over everything queued, then the idle pass of a drained queue.
    void Pump() {
        PostQuitMessage(0);
        loop_.Run();
        dlg_->OnIdle();
    }

    // Delivers the pending paints too, which the quit request of Pump comes before.
    void Paint() {
        Pump();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }

    // The main window's client area as it stands on screen, children included.
    std::vector<uint32_t> Capture() const {
        RECT client{};
        GetClientRect(Dlg(), &client);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        const WindowDc window(Dlg());
        const UniqueMemoryDc memory(CreateCompatibleDC(window.Get()));
        const UniqueBitmap bitmap(
            CreateDIBSection(window.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        {
            const SelectedObject selected(memory.Get(), bitmap.Get());
            BitBlt(memory.Get(), 0, 0, client.right, client.bottom, window.Get(), 0, 0, SRCCOPY);
        }
        const auto* pixels = static_cast<const uint32_t*>(bits);
        return pixels == nullptr
                   ? std::vector<uint32_t>{}
                   : std::vector<uint32_t>(pixels, pixels + client.right * client.bottom);
    }

    HWND Dlg() const { return dlg_->Hwnd(); }
    HWND Item(int id) const { return GetDlgItem(Dlg(), id); }
    HWND BoardWnd() const { return dlg_->Board().Hwnd(); }
    HWND StudyEdit() const { return GetWindow(Item(IDC_STUDY_LIST), GW_CHILD); }
    BoardGame& Game() { return dlg_->Board().Game(); }

    void Click(int id) {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
        Pump();
    }

    // A key as the keyboard queues it for `target`, with Control held down or not (and left so).
    void Key(HWND target, WPARAM vk, bool ctrl = false) {
        PostKey(target, vk, ctrl);
        Pump();
    }

    const std::filesystem::path settingsPath_ = SettingsFilePath();
    const std::filesystem::path aside_ = settingsPath_.wstring() + L".aside";
    std::error_code ignored_;
    std::filesystem::path folder_;
    std::wstring gamePath_;
    CMessageLoop loop_;
    AppSettings settings_;
    RecordingDesktop desktop_;
    std::unique_ptr<CMainDlg> dlg_;
};

}  // namespace saltor
