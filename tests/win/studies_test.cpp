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
using Names = std::vector<std::wstring>;

std::wstring Study(int n) {
    return L"\u00e9tude n\u00b0 " + std::to_wstring(n);
}
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
    Names InFile() const {
        Names names = GameFile(gamePath_).ReadNames();
        std::sort(names.begin(), names.end());
        return names;
    }
    // Delete in the edit field, with `name` selected in the list, dropped down or not.
    void PressDelete(const std::wstring& name, bool dropped) {
        const Names names = Listed();
        const auto at = std::find(names.begin(), names.end(), name);
        ASSERT_NE(at, names.end()) << name;
        SendMessageW(Combo(), CB_SHOWDROPDOWN, dropped, 0);
        SendMessageW(Combo(), CB_SETCURSEL, static_cast<WPARAM>(at - names.begin()), 0);
        SetFocus(StudyEdit());
        Key(StudyEdit(), VK_DELETE);
        SendMessageW(Combo(), CB_SHOWDROPDOWN, FALSE, 0);
        Type(L"");
    }
    // A save either holds and is listed, or is reported and not listed.
    void ExpectSavedOrReported(const std::wstring& name, const std::wstring& tour) {
        desktop_.boxes.clear();
        SaveAs(name, tour);
        const bool stored = GameFile(gamePath_).Read(name) == tour;
        EXPECT_EQ(desktop_.boxes.size(), stored ? 0u : 1u) << name;
        const Names listed = Listed();
        EXPECT_EQ(std::count(listed.begin(), listed.end(), name), stored ? 1 : 0) << name;
    }
};

TEST_F(StudiesTest, NamesAreNumberedOrTypedStoredLowerCaseAndSurviveARestart) {
    Type(L"x");
    EXPECT_EQ(Panel().back(), 'o');  // "Charger": nothing listed
    for (int i = 0; i < 3; ++i) {
        SaveAs(L"", L"A1;B3");
    }
    EXPECT_EQ(Listed(), (Names{Study(1), Study(2), Study(3)}));
    EXPECT_EQ(Panel().back(), 'o');  // the edit field is empty
    Type(Study(1));
    EXPECT_EQ(Panel().back(), 'X');

    PressDelete(Study(2), false);  // a closed list deletes nothing
    EXPECT_EQ(Listed().size(), 3u);
    PressDelete(Study(2), true);
    EXPECT_EQ(Listed(), (Names{Study(1), Study(3)}));
    SaveAs(L"", L"A1");
    SaveAs(L"\u00e9tude", L"A1");  // a prefix of the numbered names is a name of its own
    EXPECT_EQ(Listed(), (Names{L"\u00e9tude", Study(1), Study(2), Study(3)}));
    EXPECT_EQ(GameFile(gamePath_).Read(Study(2)), L"A1");
    PressDelete(Study(1), true);
    ASSERT_TRUE(GameFile(gamePath_).Write(Study(10), L"A1"));  // holds no number 1

    const std::wstring foreign = L"\u0445\u043e\u0434 \u9a0e\u58eb";  // in no ANSI code page
    SaveAs(L"  MaPartie ", L"A1;B3");
    SaveAs(L"MAPARTIE", L"A1;B3;C5");  // the same study, overwritten
    SaveAs(foreign, L"E4;F6;H7");
    Click(IDC_NEW_GAME);
    SaveAs(L"vide", L"");  // an empty board holds no study
    Open();
    SaveAs(L"", L"C5");
    EXPECT_EQ(GameFile(gamePath_).Read(Study(1)), L"C5");
    EXPECT_EQ(InFile(), (Names{L"mapartie", L"\u00e9tude", Study(1), Study(10), Study(2), Study(3),
                               foreign}));
    Names listed = Listed();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(InFile(), listed);
    EXPECT_EQ(LoadAs(L"MAPARTIE"), L"A1;B3;C5");
    EXPECT_EQ(LoadAs(foreign), L"E4;F6;H7");
    EXPECT_EQ(LoadAs(L"absent"), L"");
    EXPECT_TRUE(desktop_.boxes.empty());
}

// A file written by another program, in the ANSI code page, with whatever it may hold; a large
// one is listed whole.
TEST_F(StudiesTest, LoadsWhateverTheFileHoldsByTheTolerantRules) {
    DecodeTour(Game().tour, L"a1");
    Click(IDC_SOLVE);
    const std::wstring full = EncodeTour(Game().tour);
    ASSERT_EQ(full.size(), 191u);
    WriteGameFile(
        "[Autre]\r\ncl\xE9=1\r\n[Saltor]\r\ntrous=;;a1;;b3;c5;\r\nretour=a1;b3;a1\r\n"
        "suffixe=e4x;c3\r\ncomplet=" +
        std::string(full.begin(), full.end()) +
        ";a1;b3\r\nd\xE9j\xE0=A1;b3\r\nbruit=\x01zz;%d%s;;\r\nlong=a1;b3;c5;" +
        std::string(400, 'x') + "\r\na=b=c5\r\nz]=a1\r\n[x]y=a1\r\n");
    Open();
    const std::map<std::wstring, std::wstring> cases = {{L"trous", L"A1;B3;C5"},
                                                        {L"retour", L"A1;B3"},
                                                        {L"suffixe", L"E4;C3"},
                                                        {L"d\u00e9j\u00e0", L"A1;B3"},
                                                        {L"bruit", L""},
                                                        {L"long", L"A1;B3;C5"},
                                                        {L"a", L""},
                                                        {L"z]", L"A1"},
                                                        {L"complet", full}};
    EXPECT_EQ(Listed().size(), cases.size());
    for (const auto& [name, tour] : cases) {
        EXPECT_EQ(LoadAs(name), tour) << name;
        // A complete study is browsed: its navigation buttons are up after the idle pass.
        EXPECT_EQ(Panel()[4], name == L"complet" ? 'X' : '-') << name;
    }

    std::wstring many = L"\uFEFF[Saltor]\r\n";
    for (int i = 1; i <= 5000; ++i) {
        many += Study(i) + L"=A1;B3\r\n";
    }
    WriteGameFile(Utf16(many));
    Open();
    EXPECT_EQ(Listed().size(), 5000u);
    SaveAs(L"", L"A1");
    EXPECT_EQ(GameFile(gamePath_).Read(Study(5001)), L"A1");
}

// Saves and deletes the file refuses are reported; the list follows the file. Names the file
// would store as something else ("=", "[", and in an ANSI file a name outside its code page)
// are refused.
TEST_F(StudiesTest, FailedWritesAreReportedAndTheListFollowsTheFile) {
    SaveAs(L"gard\u00e9e", L"A1");
    {
        const UniqueHandle lock = LockFile(gamePath_);
        ASSERT_TRUE(lock.Valid());
        SaveAs(L"perdue", L"A1;B3");
        PressDelete(L"gard\u00e9e", true);
        EXPECT_EQ(LoadAs(L"gard\u00e9e"), L"");  // unreadable, not fatal
    }
    ASSERT_EQ(desktop_.Texts().size(), 2u);
    EXPECT_EQ(desktop_.Texts()[0], L"Impossible d'enregistrer dans le fichier :\n" + gamePath_);
    EXPECT_EQ(desktop_.boxes[1].text.find(L"Impossible de supprimer"), 0u);
    EXPECT_NE(desktop_.boxes[1].text.find(gamePath_), std::wstring::npos);
    EXPECT_EQ(desktop_.boxes[1].owner, Dlg());
    EXPECT_EQ(desktop_.boxes[1].caption, L"Cavalier Saltor");
    EXPECT_EQ(Listed(), Names{L"gard\u00e9e"});

    WriteGameFile("[Saltor]\r\nd\xE9j\xE0=a1\r\n");
    Open();
    desktop_.boxes.clear();
    for (const wchar_t* name : {L"a=b", L"[x]", L"\u0445\u043e\u0434", L"fran\u00e7aise"}) {
        SaveAs(name, L"A1");
    }
    EXPECT_EQ(desktop_.boxes.size(), 3u);
    EXPECT_NE(desktop_.boxes[0].text.find(L"a=b"), std::wstring::npos);
    EXPECT_EQ(Listed(), (Names{L"d\u00e9j\u00e0", L"fran\u00e7aise"}));
    EXPECT_EQ(InFile(), Listed());
}

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
        std::map<std::wstring, std::wstring> readable;
        for (const std::wstring& name : GameFile(gamePath_).ReadNames()) {
            readable.emplace(name, GameFile(gamePath_).Read(name));
        }
        UniqueHandle lock = c.locked ? LockFile(gamePath_) : UniqueHandle();
        Open();
        EXPECT_EQ(Listed().size(), c.locked ? 0 : readable.size());
        if (!Listed().empty()) {  // whatever it holds, the board gets a legal tour
            const std::wstring loaded = LoadAs(Listed().front());
            TourState replay;
            DecodeTour(replay, loaded);
            EXPECT_EQ(EncodeTour(replay), loaded);
        }
        ExpectSavedOrReported(L"nouvelle", L"D4;E6;F8");
        lock.Reset();
        if (c.locked || c.path == deep) {
            EXPECT_EQ(desktop_.boxes.size(), 1u);
            EXPECT_EQ(ReadBytes(gamePath_), c.bytes);
        }
        for (const auto& [name, tour] : readable) {
            EXPECT_EQ(GameFile(gamePath_).Read(name), tour) << name;
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

}  // namespace
}  // namespace saltor
