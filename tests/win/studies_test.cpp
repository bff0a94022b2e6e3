#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "files/tour_text.h"
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

// The studies of the real main window, over the platform's profile functions.
class StudiesTest : public MainDlgFixture {
protected:
    // Writes the game file behind the window's back; Wine keeps a parsed copy, forgotten here.
    void WriteGameFile(const std::string& bytes) {
        WriteBytes(gamePath_, bytes);
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, gamePath_.c_str());
    }
    // A save either holds and is listed, or is reported and not listed.
    void ExpectSavedOrReported(const std::wstring& name, const std::wstring& tour) {
        desktop_.boxes.clear();
        DecodeTour(Game().tour, tour);
        SetWindowTextW(Combo(), name.c_str());
        Click(IDC_SAVE_STUDY);
        const bool stored = GameFile(gamePath_).Read(name) == tour;
        EXPECT_EQ(desktop_.boxes.size(), stored ? 0u : 1u) << name;
        const std::vector<std::wstring> listed = Listed();
        EXPECT_EQ(std::count(listed.begin(), listed.end(), name), stored ? 1 : 0) << name;
    }
};

// The window over a game file that is damaged, not a file, locked or out of reach: it opens at
// once, saving may fail but only with a report, never at the cost of a study that could be read,
// and a file it could not read is left byte for byte as it was.
TEST_F(StudiesTest, HostileFilesOpenAndASaveKeepsEveryReadableStudy) {
    const std::string noise = Noise(4000);
    const ScratchFolder scratch("hostile-ini");
    const fs::path deep = scratch.LongFolder() / L"Saltor.ini";
    const fs::path readOnly = folder_ / L"lecture seule";
    fs::create_directory(readOnly);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    struct Case {
        const char* what;
        std::string bytes;
        fs::path path;  // when not the usual one
        bool locked;
        Case(const char* w, std::string b, fs::path p = {}, bool l = false)
            : what(w), bytes(std::move(b)), path(std::move(p)), locked(l) {}
    };
    const Case cases[] = {
        {"empty", ""},
        {"random bytes", noise},
        {"random bytes after a UTF-16 mark", "\xFF\xFE" + noise},
        {"ours cut at an odd byte", kOurs.substr(0, kOurs.size() - 3)},
        {"ours with noise inside", kOurs + noise.substr(0, 301) + Utf16(L"\r\nfin=A8\r\n")},
        {"zero bytes in an ANSI file",
         std::string("[Saltor]\r\nun=A1\r\n\0\0x\0=B1\r\ndeux=C5\r\n", 36)},
        {"a line of 100,000 characters",
         "[Saltor]\r\nun=A1\r\n" + std::string(100000, 'y') + "=B1\r\ndeux=C5\r\n"},
        {"big-endian UTF-16",
         std::string("\xFE\xFF\0[\0S\0a\0l\0t\0o\0r\0]\0\r\0\n\0u\0n\0=\0A\0001\0\r\0\n", 36)},
        {"12 MB of noise after the studies", "[Saltor]\r\nun=A1\r\n" + Noise(12 << 20)},
        {"locked by another program", kOurs, {}, true},
        {"past MAX_PATH", kOurs, deep},
        {"in a read-only folder", "", readOnly / L"Saltor.ini"},
        {"in a missing folder", "", folder_ / L"absent" / L"Saltor.ini"},
        {"a folder", "", folder_ / L"dossier.ini"},
    };
    fs::create_directory(folder_ / L"dossier.ini");
    const auto inCurrentFolder = [] {
        std::set<fs::path> names;
        for (const auto& entry : fs::directory_iterator(fs::current_path())) {
            names.insert(entry.path().filename());
        }
        return names;
    };
    const std::set<fs::path> before = inCurrentFolder();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        gamePath_ = c.path.empty() ? (folder_ / L"Saltor.ini").wstring() : c.path.wstring();
        if (c.path.empty() || !c.bytes.empty()) {
            WriteGameFile(c.bytes);
        }
        // A study is what loading it gives: a damaged file's stray bytes after a tour (Wine may
        // rewrite a cut UTF-16 character as another) leave it the same.
        const auto tourOf = [this](const std::wstring& name) {
            TourState tour;
            DecodeTour(tour, GameFile(gamePath_).Read(name));
            return EncodeTour(tour);
        };
        // What the platform reads of it, asked here rather than through the code under test.
        std::map<std::wstring, std::wstring> readable;
        std::wstring names(1 << 20, L'\0');
        names.resize(GetPrivateProfileStringW(L"Saltor", nullptr, L"", names.data(), 1 << 20,
                                              gamePath_.c_str()));
        for (size_t at = 0; c.path != deep && at < names.size() && names[at] != L'\0';
             at = names.find(L'\0', at) + 1) {
            readable.emplace(names.c_str() + at, tourOf(names.c_str() + at));
        }
        UniqueHandle lock = c.locked ? LockFile(gamePath_) : UniqueHandle();
        Open();
        EXPECT_EQ(Listed().size(), c.locked ? 0 : readable.size());
        if (!Listed().empty()) {  // whatever it holds, the board gets a legal tour
            SetWindowTextW(Combo(), Listed().front().c_str());
            Click(IDC_LOAD_STUDY);
            const std::wstring loaded = EncodeTour(Game().tour);
            TourState replay;
            DecodeTour(replay, loaded);
            EXPECT_EQ(EncodeTour(replay), loaded);
        }
        ExpectSavedOrReported(L"nouvelle", L"D4;E6;F8");
        lock.Reset();
        if (c.locked || c.path == deep) {  // nothing read, nothing written
            EXPECT_TRUE(Listed().empty());
            EXPECT_EQ(desktop_.boxes.size(), 1u);
            EXPECT_EQ(ReadBytes(gamePath_), c.bytes);
        }
        for (const auto& [name, tour] : readable) {
            EXPECT_EQ(tourOf(name), tour) << name;
        }
        fs::remove(folder_ / L"Saltor.ini", ignored_);
    }
    // Past MAX_PATH the profile functions would write a stray file into the current folder.
    std::vector<fs::path> stray;
    std::ranges::set_difference(inCurrentFolder(), before, std::back_inserter(stray));
    EXPECT_TRUE(stray.empty()) << stray.front();
    EXPECT_TRUE(fs::is_directory(folder_ / L"dossier.ini"));
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// More names than a first read of the list holds: each is listed, and a save with no name takes
// the next number and keeps every study.
TEST_F(StudiesTest, AllOfALongListAndASaveWithNoNameAfterIt) {
    std::wstring text = L"\uFEFF[Saltor]\r\n";
    for (int n = 1; n <= 500; ++n) {
        text += L"\u00e9tude n\u00b0 " + std::to_wstring(n) + L"=A1;B3\r\n";
    }
    WriteGameFile(Utf16(text));
    Open();
    EXPECT_EQ(Listed().size(), 500u);
    DecodeTour(Game().tour, L"D4;E6;F8");
    Click(IDC_SAVE_STUDY);
    EXPECT_EQ(ReadBytes(gamePath_), Utf16(text + L"\u00e9tude n\u00b0 501=D4;E6;F8\r\n"));
}

}  // namespace
}  // namespace saltor
