#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "files/tour_text.h"
#include "hostile_files.h"
#include "main_dlg_fixture.h"

namespace saltor {
namespace {

namespace fs = std::filesystem;

std::string Utf16(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// The game file as the program writes it: UTF-16LE with its byte-order mark.
const std::string kOurs =
    Utf16(L"\uFEFF[Saltor]\r\n\u00e9tude n\u00b0 1=A1;B3;C5\r\npartie=H8;G6\r\n");

// The main window over a game file that is damaged, not a file, locked or out of reach. Saving
// may fail, but only with a report, and never at the cost of a study that could be read before.
class HostileStudiesTest : public MainDlgFixture {
protected:
    using Studies = std::map<std::wstring, std::wstring>;

    // Wine keeps a parsed copy of the file; a file written behind its back must be read anew.
    void ForgetCached() const {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, gamePath_.c_str());
    }

    // Every study the file gives back, by name.
    Studies Readable() const {
        const GameFile file(gamePath_);
        Studies studies;
        for (const std::wstring& name : file.ReadNames()) {
            studies.emplace(name, file.Read(name));
        }
        return studies;
    }

    std::vector<std::wstring> Listed() const {
        std::vector<std::wstring> names;
        const auto count = SendMessageW(Item(IDC_STUDY_LIST), CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {  // names from a damaged file may be any length
            std::wstring text(SendMessageW(Item(IDC_STUDY_LIST), CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
            text.resize(SendMessageW(Item(IDC_STUDY_LIST), CB_GETLBTEXT, i,
                                     reinterpret_cast<LPARAM>(text.data())));
            names.push_back(text);
        }
        return names;
    }

    void SaveAs(const std::wstring& name, const wchar_t* tour) {
        DecodeTour(Game().tour, tour);
        SetWindowTextW(Item(IDC_STUDY_LIST), name.c_str());
        Pump();
        Click(IDC_SAVE_STUDY);
    }

    // Loads a listed name, as the player picks it: whatever the file holds, the board gets a
    // legal tour (possibly empty) and the window keeps working.
    void LoadListed(const std::wstring& name) {
        SetWindowTextW(Item(IDC_STUDY_LIST), name.c_str());
        Pump();
        Click(IDC_LOAD_STUDY);
        TourState replay;
        DecodeTour(replay, EncodeTour(Game().tour));
        EXPECT_EQ(replay.movesPlayed, Game().tour.movesPlayed);
    }

    // A save that either holds or is reported.
    void ExpectSavedOrReported(const std::wstring& name, const wchar_t* tour) {
        desktop_.boxes.clear();
        SaveAs(name, tour);
        const bool stored = GameFile(gamePath_).Read(name) == tour;
        EXPECT_EQ(desktop_.boxes.size(), stored ? 0u : 1u) << name;
        const auto listed = Listed();
        EXPECT_EQ(std::count(listed.begin(), listed.end(), name), stored ? 1 : 0) << name;
    }
};

TEST_F(HostileStudiesTest, DamagedFilesOpenAndASaveKeepsEveryReadableStudy) {
    const std::string noise = Noise(4000);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"random bytes", noise},
        {"random bytes after a UTF-16 mark", "\xFF\xFE" + noise},
        {"ours cut at an odd byte", kOurs.substr(0, kOurs.size() - 3)},
        {"ours cut in the first name", kOurs.substr(0, 40)},
        {"ours with noise inside", kOurs + noise.substr(0, 301) + Utf16(L"\r\nfin=A8\r\n")},
        {"zero bytes in an ANSI file",
         std::string("[Saltor]\r\nun=A1\r\n\0\0x\0=B1\r\ndeux=C5\r\n", 36)},
        {"a line of 100,000 characters",
         "[Saltor]\r\nun=A1\r\n" + std::string(100000, 'y') + "=B1\r\ndeux=C5\r\n"},
        {"big-endian UTF-16",
         std::string("\xFE\xFF\0[\0S\0a\0l\0t\0o\0r\0]\0\r\0\n\0u\0n\0=\0A\0001\0\r\0\n", 36)},
        {"huge: 12 MB of noise after the studies", "[Saltor]\r\nun=A1\r\n" + Noise(12 << 20)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(gamePath_, c.bytes);
        ForgetCached();
        const Studies before = Readable();
        const auto start = std::chrono::steady_clock::now();
        Open();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        ASSERT_NE(Dlg(), nullptr);
        const std::vector<std::wstring> listed = Listed();
        EXPECT_EQ(listed.size(), before.size());
        if (!listed.empty()) {
            LoadListed(listed.front());
        }

        ExpectSavedOrReported(L"nouvelle", L"D4;E6;F8");
        for (const auto& [name, tour] : before) {
            EXPECT_EQ(GameFile(gamePath_).Read(name), tour) << name;
        }
    }
}

TEST_F(HostileStudiesTest, AFolderInPlaceOfTheFileListsNothingAndRefusesSaves) {
    fs::create_directory(gamePath_);
    Open();
    EXPECT_TRUE(Listed().empty());
    SaveAs(L"nouvelle", L"a1;b3");
    EXPECT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_TRUE(Listed().empty());
    EXPECT_TRUE(fs::is_directory(gamePath_));
}

// While another program holds the file, nothing can be read or written; once it lets go, the
// file is as it was, byte for byte.
TEST_F(HostileStudiesTest, ALockedFileIsLeftWholeAndReadAgainOnceFree) {
    WriteBytes(gamePath_, kOurs);
    ForgetCached();
    {
        const UniqueHandle lock = LockFile(gamePath_);
        ASSERT_TRUE(lock.Valid());
        Open();
        EXPECT_TRUE(Listed().empty());
        SaveAs(L"nouvelle", L"a1;b3");
        EXPECT_EQ(desktop_.boxes.size(), 1u);
        EXPECT_TRUE(Listed().empty());
    }
    EXPECT_EQ(ReadBytes(gamePath_), kOurs);
    Open();
    EXPECT_EQ(Listed().size(), 2u);
}

// Past MAX_PATH the profile functions cannot name the file (under Wine a save wrote a stray file
// of a garbage name into the current folder instead): such a file is left alone, as if absent,
// and a save is reported as failed.
TEST_F(HostileStudiesTest, AFilePastMaxPathIsLeftAloneAndSavesAreReported) {
    const auto currentFolder = [] {
        std::set<fs::path> names;
        for (const auto& entry : fs::directory_iterator(fs::current_path())) {
            names.insert(entry.path().filename());
        }
        return names;
    };
    const std::set<fs::path> before = currentFolder();
    const ScratchFolder scratch("hostile-ini");
    const fs::path deep = scratch.LongFolder() / L"Saltor.ini";
    WriteBytes(deep, kOurs);
    gamePath_ = deep.wstring();
    Open();
    EXPECT_TRUE(Listed().empty());
    SaveAs(L"nouvelle", L"a1;b3");
    EXPECT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(ReadBytes(deep), kOurs);
    std::vector<fs::path> stray;
    std::ranges::set_difference(currentFolder(), before, std::back_inserter(stray));
    EXPECT_TRUE(stray.empty()) << stray.front();
    for (const fs::path& name : stray) {
        fs::remove(name);
    }
}

// A folder marked read-only, which Windows does not enforce for the files in it (nor Wine run
// as root for anything): the save holds, or is reported.
TEST_F(HostileStudiesTest, AReadOnlyFolderEitherTakesTheStudyOrReports) {
    const fs::path folder = folder_ / L"lecture seule";
    fs::create_directory(folder);
    ASSERT_TRUE(SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_READONLY));
    gamePath_ = (folder / L"Saltor.ini").wstring();
    Open();
    ExpectSavedOrReported(L"nouvelle", L"A1;B3");
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace saltor
