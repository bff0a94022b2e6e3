#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/startup_settings.h"
#include "resources/resource.h"
#include "settings/app_settings.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

HCURSOR Cursor(const AppSettings& settings) {
    return static_cast<HCURSOR>(settings.BoardCursor.get());
}

HCURSOR Knight() {
    return LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KNIGHT_CURSOR));
}

// Whether the handle still stands for a cursor: a destroyed one has no bitmaps to give.
bool IsLive(HCURSOR cursor) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) {
        return false;
    }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return true;
}

// A 16 x 16 cursor file, an opaque white square.
void WriteCursorFile(const fs::path& path) {
    const uint8_t header[] = {
        0,  0,  2, 0, 1,  0,                                     // a cursor file, one image
        16, 16, 0, 0, 8,  0, 8, 0, 0x68, 4, 0, 0, 22, 0, 0,  0,  // 16 x 16, hot spot, size, offset
        40, 0,  0, 0, 16, 0, 0, 0, 32,   0, 0, 0, 1,  0, 32, 0,  // 32-bit image, height doubled
        0,  0,  0, 0, 0,  0, 0, 0, 0,    0, 0, 0, 0,  0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof(header));
    out << std::string(16 * 16 * 4, '\xFF') << std::string(16 * 4, '\0');  // pixels, AND mask
}

TEST(StartupSettingsTest, PutsTheHelpBesideTheProgramAndStartsWithTheKnightCursor) {
    const AppSettings settings = LoadStartupSettings();
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(settings.HelpFilePath, fs::path(program).replace_extension(L".chm").wstring());
    ASSERT_NE(Knight(), nullptr);
    EXPECT_EQ(Cursor(settings), Knight());  // this test program's settings name no cursor
}

TEST(StartupSettingsTest, ACursorFileWinsAndOnlyItIsDestroyedWhenReplaced) {
    const fs::path curFile = fs::temp_directory_path() / L"saltor-test.cur";
    WriteCursorFile(curFile);
    AppSettings settings;
    settings.CursorFile = curFile.wstring();
    settings.HandCursor = true;
    settings.ReloadBoardCursor();
    const HCURSOR fromFile = Cursor(settings);
    fs::remove(curFile);
    ASSERT_TRUE(fromFile != nullptr && IsLive(fromFile));
    EXPECT_NE(fromFile, LoadCursorW(nullptr, IDC_HAND));

    settings.CursorFile += L".missing";  // falls back to the hand, then to the knight
    settings.ReloadBoardCursor();
    EXPECT_EQ(Cursor(settings), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_FALSE(IsLive(fromFile));
    settings.HandCursor = false;
    settings.ReloadBoardCursor();
    EXPECT_EQ(Cursor(settings), Knight());
    settings.ReloadBoardCursor();
    EXPECT_TRUE(IsLive(Knight()));  // shared cursors are never destroyed
    EXPECT_TRUE(IsLive(LoadCursorW(nullptr, IDC_HAND)));
}

}  // namespace
}  // namespace saltor
