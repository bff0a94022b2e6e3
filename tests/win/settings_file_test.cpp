#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "settings/app_settings.h"
#include "settings/settings_document.h"
#include "settings/settings_file_win.h"
#include "settings/utf8.h"
#include "settings/win_handle.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ReadBytes(const std::wstring& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(fs::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

UniqueHandle OpenExclusively(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::vector<fs::path> FolderEntries() {
    const fs::directory_iterator entries(SettingsFolder());
    return {fs::begin(entries), fs::end(entries)};
}

int32_t ExpectedCellSize(int32_t stored) {
    return std::min(std::max(stored, kMinCellSize), AppSettings::MaxCellSize());
}

// Works on the real settings file of this test program (...\Lorvaine\win_tests\Saltor.cfg) and
// puts back whatever was there before.
class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = SettingsFilePath();
        ASSERT_FALSE(path_.empty());
        backup_ = ReadBytes(path_);
        fs::remove(path_);
    }

    void TearDown() override {
        const std::wstring path = SettingsFilePath();  // recreates removed folders
        if (backup_) {
            WriteBytes(path, *backup_);
        } else {
            fs::remove(path);
        }
    }

    std::wstring path_;
    std::optional<std::string> backup_;
};

TEST_F(SettingsFileTest, SaveThenLoadRoundTripsAndLeavesOnlyTheFile) {
    ASSERT_TRUE(AppSettings{}.Save());
    EXPECT_EQ(ReadBytes(path_), EncodeUtf8(BuildSettingsDocument(AppSettings{})));  // no BOM

    AppSettings saved;
    saved.CursorFile = L"C:\\Curseurs\\cheval.ani";
    saved.HandCursor = saved.SolidColor = true;
    saved.WhiteImage = L"C:\\Bois & \"chêne\"\\l'érable <clair>.png";
    saved.KnightImage = L"\U0001F40E.png";
    saved.CellSize = ExpectedCellSize(90);
    saved.WhiteBgColor = 0x0000FF;
    saved.CalcDuration = 2500;
    ASSERT_TRUE(saved.Save());
    AppSettings loaded;
    loaded.Load();
    EXPECT_EQ(BuildSettingsDocument(loaded), BuildSettingsDocument(saved));
    EXPECT_EQ(FolderEntries(), std::vector<fs::path>{path_});
}

TEST_F(SettingsFileTest, FirstLoadCreatesTheFoldersButNoFile) {
    const fs::path folder = SettingsFolder();
    ASSERT_TRUE(fs::remove(folder));
    std::error_code ignored;  // other programs of ours may have left their folders beside it
    fs::remove(folder.parent_path(), ignored);
    ASSERT_FALSE(fs::exists(folder));

    AppSettings settings;
    settings.Load();
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(BuildSettingsDocument(settings), BuildSettingsDocument(AppSettings{}));
}

TEST_F(SettingsFileTest, FileHeldByAnotherOpenerReadsAsEmpty) {
    WriteBytes(path_, "<CursorFile>x.cur</CursorFile><CalcDuration>5000</CalcDuration>");
    AppSettings settings;
    settings.CursorFile = L"before.cur";
    settings.CalcDuration = 1500;
    {
        UniqueHandle holder = OpenExclusively(path_);
        ASSERT_TRUE(holder.Valid());
        settings.Load();
    }
    EXPECT_EQ(settings.CursorFile, L"");
    EXPECT_EQ(settings.CalcDuration, 1500u);

    settings.Load();
    EXPECT_EQ(settings.CursorFile, L"x.cur");
    EXPECT_EQ(settings.CalcDuration, 5000u);
}

TEST_F(SettingsFileTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string old = "<CalcDuration>777</CalcDuration>\r\n";
    WriteBytes(path_, old);
    AppSettings settings;
    settings.CalcDuration = 9999;
    {
        UniqueHandle holder = OpenExclusively(path_);
        ASSERT_TRUE(holder.Valid());
        EXPECT_FALSE(settings.Save());
    }
    EXPECT_EQ(ReadBytes(path_), old);
    EXPECT_EQ(FolderEntries(), std::vector<fs::path>{path_});

    EXPECT_TRUE(settings.Save());
    AppSettings loaded;
    loaded.Load();
    EXPECT_EQ(loaded.CalcDuration, 9999u);
}

TEST_F(SettingsFileTest, DamagedTruncatedAndHugeFilesLoadSafely) {
    std::string binary;
    for (uint32_t seed = 12345; binary.size() < 4096;) {
        seed = seed * 1103515245u + 12345u;
        binary += static_cast<char>(seed >> 24);
    }
    std::string good = "\xEF\xBB\xBF" + EncodeUtf8(BuildSettingsDocument(AppSettings{}));
    good.insert(good.find("</KnightImage>"), "cavalier \xE2\x99\x9E.png");
    std::vector<std::string> contents = {binary, std::string("\0\0\0", 3)};
    for (size_t length = 1; length < good.size(); length += 7) {
        contents.push_back(good.substr(0, length));
    }
    for (const std::string& content : contents) {
        WriteBytes(path_, content);
        AppSettings settings;
        settings.CalcDuration = 4321;
        settings.Load();
        EXPECT_EQ(settings.CellSize, ExpectedCellSize(70));
        EXPECT_TRUE(settings.CalcDuration == 4321u || settings.CalcDuration == 1000u);
    }
    WriteBytes(path_, good);
    AppSettings settings;
    settings.Load();
    EXPECT_EQ(settings.KnightImage, L"cavalier \u265E.png");

    // Only the first 16 MiB count.
    WriteBytes(path_, "<CursorFile>early.cur</CursorFile>" + std::string(17 << 20, 'x') +
                          "<CalcDuration>5</CalcDuration>");
    settings.Load();
    EXPECT_EQ(settings.CursorFile, L"early.cur");
    EXPECT_EQ(settings.CalcDuration, 1000u);
}

}  // namespace
}  // namespace saltor
