#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "resources/resource.h"
#include "winkit/file_win.h"
#include "winkit/handles_win.h"
#include "winkit/resource_string_win.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

// The readers of the settings, cursors, pictures and game file trust what it says of a file's
// size and bytes: a read past the end gives what is there, and a file that cannot be opened
// gives nothing at all.
TEST(ReadOnlyFileTest, ReadsWhatTheFileHoldsAndNothingOfAFileItCannotOpen) {
    const fs::path path = fs::temp_directory_path() / L"saltor-read-only-file.bin";
    std::ofstream(path, std::ios::binary) << std::string(
        "\xFF\xFE"
        "ab",
        4);
    {
        ReadOnlyFile file(path.wstring(), kShareAll);
        ASSERT_TRUE(file.Opened());
        EXPECT_EQ(file.Size(), 4u);
        EXPECT_EQ(file.Read(3), std::optional<std::string>("\xFF\xFE"
                                                           "a"));
        EXPECT_EQ(file.Read(16), std::optional<std::string>("b"));  // short at the end
        EXPECT_EQ(file.Read(16), std::optional<std::string>(""));
    }
    {
        // Another opener that shares nothing keeps us out, as it keeps out a half-written file.
        const UniqueHandle holder(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.Valid());
        ReadOnlyFile file(path.wstring(), kShareAll);
        EXPECT_FALSE(file.Opened());
        EXPECT_EQ(file.Size(), 0u);
        EXPECT_EQ(file.Read(4), std::nullopt);
    }
    std::error_code ignored;
    fs::remove(path, ignored);
    EXPECT_FALSE(ReadOnlyFile(path.wstring(), kShareAll).Opened());
    EXPECT_FALSE(ReadOnlyFile(L"", kShareAll).Opened());
}

TEST(ResourceStringTest, StringsComeFromTheTableAndTakeTheirSubject) {
    EXPECT_EQ(LoadResourceString(IDS_MAIN_CAPTION), L"Cavalier Saltor");
    EXPECT_EQ(LoadResourceString(9999), L"");
    EXPECT_EQ(FormatResourceString(IDS_STUDY_SAVE_FAILED, L"C:\\Jeux\\Saltor.ini"),
              L"Impossible d'enregistrer dans le fichier :\nC:\\Jeux\\Saltor.ini");
}

}  // namespace
}  // namespace saltor
