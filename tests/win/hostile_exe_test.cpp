#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "hostile_files.h"
#include "main_window_finder.h"
#include "resources/resource.h"
#include "settings/app_settings.h"
#include "settings/settings_document.h"
#include "settings/settings_file_win.h"
#include "settings/utf8.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

// Polls `done` every 10 ms for up to `ms` milliseconds.
bool WaitFor(const std::function<bool()>& done, int ms) {
    for (int waited = 0; !done(); waited += 10) {
        if (waited >= ms) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

// The program itself, copied under a name of its own into a scratch folder, so that its game
// file (beside it) and its settings folder (...\Lorvaine\SaltorHostile) are the test's alone.
class HostileExeTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string built = SALTOR_EXE_PATH;  // build paths are ASCII
        ASSERT_TRUE(
            CopyFileW(std::wstring(built.begin(), built.end()).c_str(), exe_.c_str(), FALSE));
        fs::create_directories(settingsFolder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(settingsFolder_, ignored);
    }

    // Starts the program, clicks the top-left square once the board is painted and waits for
    // the move to show (the save button comes on), then closes the window: exit code 2.
    void StartPlayAndQuit() {
        std::wstring commandLine = L"\"" + exe_.wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   scratch_.Path().c_str(), &startup, &process));
        const UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
        HWND main = nullptr;
        WaitFor(
            [&] {
                main = FindPaintedMainWindow(process.dwProcessId);
                return main != nullptr || WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT;
            },
            20000);
        EXPECT_NE(main, nullptr);
        if (main != nullptr) {
            const HWND board = ChildWindowFromPoint(main, POINT{4, 4});
            const HWND save = GetDlgItem(main, IDC_SAVE_STUDY);
            EXPECT_FALSE(IsWindowEnabled(save));
            const LPARAM at = MAKELPARAM(20, 20);
            PostMessageW(board, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(board, WM_LBUTTONUP, 0, at);
            EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(save) != FALSE; }, 10000));
            PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        EXPECT_EQ(ExitCodeOnceEnded(process.hProcess), 2u);
    }

    const ScratchFolder scratch_{"hostile-exe"};
    const fs::path exe_ = scratch_ / L"SaltorHostile.exe";
    const fs::path gameFile_ = scratch_ / L"SaltorHostile.ini";
    const fs::path settingsFolder_ = fs::path(SettingsFolder()).parent_path() / L"SaltorHostile";
    const fs::path settingsFile_ = settingsFolder_ / L"Saltor.cfg";
};

// The program starts with its fall-backs (default settings, plain squares, no knight, its own
// cursor, no studies), plays and quits, and leaves both files as they were.
TEST_F(HostileExeTest, StartsPlaysAndQuitsWhateverItsFiles) {
    AppSettings unusable;
    unusable.WhiteImage = (scratch_ / L"dossier.png").wstring();
    unusable.BlackImage = (scratch_ / L"texte.png").wstring();
    unusable.KnightImage = L"C:\\" + std::wstring(40000, L'k') + L".png";
    unusable.CursorFile = (scratch_ / L"grand.cur").wstring();
    unusable.CellSize = 99999;
    const struct {
        const char* what;
        std::function<void()> make;
        bool held;  // both files held open by another program while the game runs
    } cases[] = {
        {"random bytes in both files",
         [&] {
             WriteBytes(settingsFile_, Noise(4096, 1));
             WriteBytes(gameFile_, Noise(4096, 2));
         },
         false},
        {"unusable pictures and cursor; a folder in place of the game file",
         [&] {
             fs::create_directory(scratch_ / L"dossier.png");
             WriteBytes(scratch_ / L"texte.png", "pas une image");
             WriteBytes(scratch_ / L"grand.cur", IconFile(2, PlainPng(8000)));
             WriteBytes(settingsFile_, EncodeUtf8(BuildSettingsDocument(unusable)));
             fs::remove_all(gameFile_);
             fs::create_directory(gameFile_);
         },
         false},
        {"both files held open",
         [&] {
             WriteBytes(settingsFile_, EncodeUtf8(BuildSettingsDocument(AppSettings{})));
             fs::remove_all(gameFile_);
             WriteBytes(gameFile_, "[Saltor]\r\nun=A1;B3\r\n");
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        const std::string settingsBefore = ReadBytes(settingsFile_);
        const std::string gameBefore = ReadBytes(gameFile_);
        {
            const UniqueHandle settingsLock = c.held ? LockFile(settingsFile_) : UniqueHandle();
            const UniqueHandle gameLock = c.held ? LockFile(gameFile_) : UniqueHandle();
            StartPlayAndQuit();
        }
        EXPECT_EQ(ReadBytes(settingsFile_), settingsBefore);  // nothing is saved at exit
        EXPECT_EQ(ReadBytes(gameFile_), gameBefore);
    }
}

}  // namespace
}  // namespace saltor
