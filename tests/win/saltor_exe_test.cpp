#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "main_window_finder.h"
#include "settings/settings_file_win.h"
#include "winkit/handles_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

// The program as built (the path comes from CMake), started the way a player starts it.
TEST(SaltorExeTest, StartsWhateverItsCommandLineAndTheCloseBoxEndsItWithTwo) {
    // Its settings folder goes beside this program's; one that was not there is removed again.
    const fs::path settingsFolder = fs::path(SettingsFolder()).parent_path() / L"Saltor";
    const bool hadSettingsFolder = fs::exists(settingsFolder);

    const std::string program = SALTOR_EXE_PATH;  // build paths are ASCII
    std::wstring commandLine =
        L"\"" + std::wstring(program.begin(), program.end()) + L"\" /etude \"A1;B3\" --taille=90";
    std::replace(commandLine.begin(), commandLine.end(), L'/', L'\\');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    const UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    HWND main = nullptr;  // up to 20 s, unless the program ends first
    for (int i = 0; i < 2000 && !main && WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT;
         ++i) {
        main = FindPaintedMainWindow(process.dwProcessId);
    }
    EXPECT_NE(main, nullptr);

    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ExitCodeOnceEnded(process.hProcess), 2u);
    if (!hadSettingsFolder) {
        std::error_code ignored;  // nothing is saved at exit: the folder is empty
        fs::remove(settingsFolder, ignored);
    }
}

}  // namespace
}  // namespace saltor
