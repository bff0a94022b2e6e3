#include <windows.h>

#include <gtest/gtest.h>

#include "hostile_files.h"
#include "settings/settings_file_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

// The program as built, copied under a name of its own into a scratch folder, so that its game
// file (beside it) and its settings folder (...\Lorvaine\SaltorHostile) are the test's alone.
// Whatever its command line and files, it comes up with its fall-backs (default settings, plain
// squares, no knight, its own cursor, no studies), takes a click, ends with the close box and
// saves nothing on the way out.
TEST(ProgramTest, StartsPlaysAndClosesWhateverItsFilesAndLeavesThemAsTheyWere) {
    const ScratchFolder scratch("program");
    const fs::path exe = scratch / L"SaltorHostile.exe", game = scratch / L"SaltorHostile.ini";
    const fs::path settings =
        fs::path(SettingsFolder()).parent_path() / L"SaltorHostile" / L"Saltor.cfg";
    ASSERT_TRUE(fs::copy_file(SALTOR_EXE_PATH, exe));
    fs::create_directories(settings.parent_path());
    WriteBytes(scratch / L"grand.cur", IconFile(2, PlainPng(8000)));
    // Relative paths: the program starts in the scratch folder, which stands for a folder, and
    // its own file for one that is no picture.
    const std::string unusable =
        "<WhiteImage>.</WhiteImage><BlackImage>SaltorHostile.exe"
        "</BlackImage><CursorFile>grand.cur</CursorFile><KnightImage>C:\\" +
        std::string(40000, 'k') + ".png</KnightImage><CellSize>99999</CellSize>";
    const struct {
        const char* what;
        const wchar_t* arguments;
        std::string settings, game;  // no game: a folder in its place
        bool held;                   // both files held open by another program while it runs
    } rows[] = {
        {"random bytes in both files", L"/etude \"A1;B3\" --taille=90", Noise(4096, 1),
         Noise(4096, 2), false},
        {"unusable pictures and cursor; a folder in place of the game file", L"", unusable, "",
         false},
        {"both files held open", L"", "<CellSize>90</CellSize>", "[Saltor]\r\nun=A1;B3\r\n", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        WriteBytes(settings, row.settings);
        fs::remove_all(game);
        if (row.game.empty()) {
            fs::create_directory(game);
        }
        WriteBytes(game, row.game);
        UniqueHandle settingsLock = row.held ? LockFile(settings) : UniqueHandle();
        UniqueHandle gameLock = row.held ? LockFile(game) : UniqueHandle();
        std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + row.arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   scratch.Path().c_str(), &startup, &process));
        const UniqueHandle running(process.hProcess), thread(process.hThread);
        // Its main window: shown, with the game's caption, and its board (in the top-left corner)
        // painted, which leaves an empty update region. Up to 20 s, unless it ends before.
        HWND main = nullptr, board = nullptr;
        for (int i = 0; i < 2000 && !main && WaitForSingleObject(running.Get(), 10) == WAIT_TIMEOUT;
             ++i) {
            for (HWND w = nullptr;
                 !main && (w = FindWindowExW(nullptr, w, nullptr, L"Cavalier Saltor"));) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                board = ChildWindowFromPoint(w, POINT{4, 4});
                if (owner == process.dwProcessId && IsWindowVisible(w) && board && board != w &&
                    IsWindowVisible(board) && !GetUpdateRect(board, nullptr, FALSE)) {
                    main = w;
                }
            }
        }
        EXPECT_NE(main, nullptr);
        // A click on a square shows as a move: the save button comes on.
        const HWND save = GetDlgItem(main, IDC_SAVE_STUDY);
        EXPECT_FALSE(IsWindowEnabled(save));
        PostMessageW(board, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        PostMessageW(board, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        for (int i = 0; i < 1000 && main && !IsWindowEnabled(save); ++i) {
            Sleep(10);
        }
        EXPECT_TRUE(IsWindowEnabled(save));
        PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(WaitForSingleObject(running.Get(), 10000), WAIT_OBJECT_0);
        TerminateProcess(running.Get(), 99);  // should it still be running
        DWORD exitCode = 0;
        GetExitCodeProcess(running.Get(), &exitCode);
        EXPECT_EQ(exitCode, 2u);
        settingsLock.Reset();
        gameLock.Reset();
        EXPECT_EQ(ReadBytes(settings), row.settings);
        EXPECT_EQ(ReadBytes(game), row.game);
    }
    fs::remove_all(settings.parent_path());
}

}  // namespace
}  // namespace saltor
