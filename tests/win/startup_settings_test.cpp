#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/startup_settings_win.h"
#include "resources/resource.h"
#include "settings/app_settings.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

// Whether the handle still stands for a cursor: a destroyed one has no bitmaps to give.
bool IsLive(HCURSOR cursor) {
    ICONINFO info{};
    const bool live = GetIconInfo(cursor, &info) != FALSE;
    DeleteObject(info.hbmMask);  // none to delete when it is not
    DeleteObject(info.hbmColor);
    return live;
}

// The help beside the program, then the board cursor: a cursor file wins over the hand, which
// wins over the knight; a cursor loaded from a file is destroyed once it is replaced.
TEST(StartupSettingsTest, HelpBesideTheProgramAndTheBoardCursorInItsOrder) {
    AppSettings settings = LoadStartupSettings();
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(settings.HelpFilePath, fs::path(program).replace_extension(L".chm").wstring());
    const auto cursor = [&] { return static_cast<HCURSOR>(settings.BoardCursor.get()); };
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR knight =
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KNIGHT_CURSOR));
    EXPECT_EQ(cursor(), knight);  // this test program's settings name no cursor

    const fs::path curFile = fs::temp_directory_path() / L"saltor-test.cur";
    // A 16 x 16 cursor file, an opaque white square: header and entry (size, hot spot, length
    // 1128, offset 22), a 32-bit image of doubled height, its pixels and its AND mask.
    const char header[] =
        "\0\0\2\0\1\0\x10\x10\0\0\x08\0\x08\0\x68\x04\0\0\x16\0\0\0"
        "\x28\0\0\0\x10\0\0\0\x20\0\0\0\1\0\x20\0";
    std::ofstream(curFile, std::ios::binary)
        << std::string(header, sizeof(header) - 1) << std::string(24, '\0')
        << std::string(16 * 16 * 4, '\xFF') << std::string(16 * 4, '\0');
    settings.CursorFile = curFile.wstring();
    settings.HandCursor = true;
    settings.ReloadBoardCursor();
    const HCURSOR fromFile = cursor();
    fs::remove(curFile);
    ASSERT_TRUE(fromFile != nullptr && IsLive(fromFile));
    EXPECT_NE(fromFile, hand);

    settings.CursorFile += L".missing";
    settings.ReloadBoardCursor();
    EXPECT_EQ(cursor(), hand);
    EXPECT_FALSE(IsLive(fromFile));
    settings.HandCursor = false;
    settings.ReloadBoardCursor();
    EXPECT_EQ(cursor(), knight);
}

}  // namespace
}  // namespace saltor
