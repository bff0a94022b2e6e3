#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace saltor {
namespace {

namespace fs = std::filesystem;

// The program as built (the path comes from CMake), started the way a player starts it.
std::wstring ProgramPath() {
    std::wstring path;
    for (const char c : std::string(SALTOR_EXE_PATH)) {  // build paths are ASCII
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    }
    return path;
}

// The program's main window: shown, of that process, with the game's caption.
HWND FindMainWindow(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t caption[32] = {};
            GetWindowTextW(hwnd, caption, 32);
            if (owner == s->processId && IsWindowVisible(hwnd) &&
                std::wstring(caption) == L"Cavalier Saltor") {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The board fills the top-left corner; once shown, an empty update region means it was painted.
bool BoardPainted(HWND main) {
    const HWND board = ChildWindowFromPoint(main, POINT{4, 4});
    return board != nullptr && board != main && IsWindowVisible(board) &&
           !GetUpdateRect(board, nullptr, FALSE);
}

TEST(SaltorExeTest, StartsWhateverItsCommandLineAndTheCloseBoxEndsItWithTwo) {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    const fs::path settingsFolder = fs::path(appData) / L"Lorvaine" / L"Saltor";
    const bool hadSettingsFolder = fs::exists(settingsFolder);

    std::wstring commandLine = L"\"" + ProgramPath() + L"\" /etude \"A1;B3\" --taille=90";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    HWND main = nullptr;
    while (!(main = FindMainWindow(process.dwProcessId)) || !BoardPainted(main)) {
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20) ||
            WaitForSingleObject(process.hProcess, 2) != WAIT_TIMEOUT) {
            break;
        }
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_NE(main, nullptr);
    std::printf("[ SALTOR   ] start-up to the first painted board: %.0f ms\n", ms);

    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 2u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    // Same Wine prefix as the other tests: leave no folder that was not there (nothing is saved
    // at exit, so it is empty).
    if (!hadSettingsFolder) {
        std::error_code ignored;
        fs::remove(settingsFolder, ignored);
        fs::remove(settingsFolder.parent_path(), ignored);
    }
}

}  // namespace
}  // namespace saltor
