#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#include "reference/file_bytes.h"
#include "settings/app_settings.h"
#include "settings/settings_document.h"
#include "settings/settings_file_win.h"
#include "settings/utf8.h"
#include "winkit/handles_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

size_t FilesInFolder() {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(SettingsFolder()), fs::directory_iterator()));
}

// Works on the real settings file of this test program (...\Lorvaine\win_tests\Saltor.cfg),
// having put aside, outside its folder, whatever was there before.
class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override { fs::rename(path_, aside_, ignored_); }
    void TearDown() override {
        fs::remove(SettingsFilePath());  // which recreates removed folders
        fs::rename(aside_, path_, ignored_);
    }

    const fs::path path_ = SettingsFilePath();
    const fs::path aside_ = path_.parent_path().parent_path() / L"win_tests.cfg.aside";
    std::error_code ignored_;
};

TEST_F(SettingsFileTest, SavesTheDocumentAsUtf8AndLoadsItBackLeavingOnlyTheFile) {
    AppSettings saved;
    saved.WhiteImage = L"C:\\Bois & \"chêne\"\\l'érable <clair>.png";
    saved.KnightImage = L"\U0001F40E.png";
    saved.CellSize = std::min(90, AppSettings::MaxCellSize());
    ASSERT_TRUE(saved.Save());
    EXPECT_EQ(ReadBytes(path_), EncodeUtf8(BuildSettingsDocument(saved)));  // no BOM
    AppSettings loaded;
    loaded.Load();
    EXPECT_EQ(BuildSettingsDocument(loaded), BuildSettingsDocument(saved));
    EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left
}

TEST_F(SettingsFileTest, FirstLoadCreatesTheFoldersButNoFile) {
    const fs::path folder = SettingsFolder();
    ASSERT_TRUE(fs::remove(folder));
    fs::remove(folder.parent_path(), ignored_);  // unless other programs of ours use it too
    AppSettings settings;
    settings.Load();
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(FilesInFolder(), 0u);
}

// Another program holding the file open: it reads as an empty document, and a save fails,
// leaving the old file whole and no temporary beside it.
TEST_F(SettingsFileTest, AFileHeldOpenElsewhereReadsAsEmptyAndIsNotOverwritten) {
    const std::string old = "<CursorFile>x.cur</CursorFile>";
    WriteBytes(path_, old);
    AppSettings settings;
    settings.CursorFile = L"before.cur";
    {
        UniqueHandle holder(CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.Valid());
        settings.Load();
        EXPECT_EQ(settings.CursorFile, L"");
        EXPECT_FALSE(settings.Save());
    }
    EXPECT_EQ(ReadBytes(path_), old);
    EXPECT_EQ(FilesInFolder(), 1u);
    settings.Load();
    EXPECT_EQ(settings.CursorFile, L"x.cur");
}

TEST_F(SettingsFileTest, DamagedTruncatedAndHugeFilesLoadSafely) {
    std::string noise(1024, '\0');
    std::generate(noise.begin(), noise.end(), std::mt19937(12345));
    std::string good = "\xEF\xBB\xBF" + EncodeUtf8(BuildSettingsDocument(AppSettings{}));
    good.insert(good.find("</KnightImage>"), "cavalier \xE2\x99\x9E.png");
    for (const std::string& whole : {noise, good}) {
        for (size_t length = 1; length < whole.size(); length += 7) {
            WriteBytes(path_, whole.substr(0, length));
            AppSettings settings;
            settings.CalcDuration = 4321;
            settings.Load();
            EXPECT_EQ(settings.CellSize, std::min(70, AppSettings::MaxCellSize()));
            EXPECT_TRUE(settings.CalcDuration == 4321u || settings.CalcDuration == 1000u);
        }
    }
    WriteBytes(path_, good);  // a byte-order mark is skipped
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
