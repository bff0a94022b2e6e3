#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "files/tour_text.h"
#include "main_dlg_fixture.h"
#include "resources/resource.h"

namespace saltor {
namespace {

using Names = std::vector<std::wstring>;

std::wstring Study(int n) {
    return L"\u00e9tude n\u00b0 " + std::to_wstring(n);
}

// The studies of the real main window, over the platform's profile functions.
class StudiesTest : public MainDlgFixture {
protected:
    HWND Combo() const { return Item(IDC_STUDY_LIST); }

    void Type(const std::wstring& name) {
        SetWindowTextW(Combo(), name.c_str());
        Pump();
    }

    void SaveAs(const std::wstring& typed, const wchar_t* tour) {
        DecodeTour(Game().tour, tour);
        Type(typed);
        Click(IDC_SAVE_STUDY);
    }

    // The tour that "Charger" puts on a cleared board.
    std::wstring LoadAs(const std::wstring& typed) {
        Click(IDC_NEW_GAME);
        Type(typed);
        Click(IDC_LOAD_STUDY);
        return EncodeTour(Game().tour);
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

    Names Listed() const {
        Names names(static_cast<size_t>(SendMessageW(Combo(), CB_GETCOUNT, 0, 0)));
        for (size_t i = 0; i < names.size(); ++i) {
            wchar_t text[300] = {};
            SendMessageW(Combo(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            names[i] = text;
        }
        return names;
    }

    Names InFile() const {
        Names names = GameFile(gamePath_).ReadNames();
        std::sort(names.begin(), names.end());
        return names;
    }

    void WriteBytes(const std::string& bytes) const {
        std::ofstream(std::filesystem::path(gamePath_), std::ios::binary) << bytes;
    }
};

TEST_F(StudiesTest, NumbersTakeTheFirstFreeNameAndNamesMatchExactly) {
    Type(L"x");
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_LOAD_STUDY)));  // nothing listed
    for (int i = 0; i < 3; ++i) {
        SaveAs(L"", L"a1;b3");
    }
    EXPECT_EQ(Listed(), (Names{Study(1), Study(2), Study(3)}));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_LOAD_STUDY)));  // the edit field is still empty
    Type(Study(1));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_LOAD_STUDY)));

    PressDelete(Study(2), false);  // a closed list deletes nothing
    EXPECT_EQ(Listed().size(), 3u);
    PressDelete(Study(2), true);
    EXPECT_EQ(Listed(), (Names{Study(1), Study(3)}));
    EXPECT_EQ(InFile(), Listed());
    SaveAs(L"", L"a1");
    SaveAs(L"\u00e9tude", L"a1");  // a prefix of the numbered names, a name of its own
    EXPECT_EQ(Listed(), (Names{L"\u00e9tude", Study(1), Study(2), Study(3)}));
    EXPECT_EQ(InFile(), Listed());
    EXPECT_EQ(GameFile(gamePath_).Read(Study(2)), L"A1");

    // "étude n° 10" does not hold the number 1.
    PressDelete(Study(1), true);
    ASSERT_TRUE(GameFile(gamePath_).Write(Study(10), L"A1"));
    Open();
    SaveAs(L"", L"c5");
    EXPECT_EQ(GameFile(gamePath_).Read(Study(1)), L"C5");
    EXPECT_EQ(InFile(), Listed());
    EXPECT_TRUE(desktop_.boxes.empty());
}

TEST_F(StudiesTest, TypedNamesAreStoredLowerCaseOverwrittenAndSurviveARestart) {
    const std::wstring accented = L"partie \u00e9t\u00e9";
    const std::wstring foreign = L"\u0445\u043e\u0434 \u9a0e\u58eb";  // in no ANSI code page
    SaveAs(L"MaPartie", L"a1;b3");
    SaveAs(L"MAPARTIE", L"a1;b3;c5");  // the same study, overwritten
    SaveAs(accented, L"h8;g6");
    SaveAs(foreign, L"e4;f6;h7");
    Open();
    EXPECT_EQ(Listed(), (Names{L"mapartie", accented, foreign}));
    EXPECT_EQ(LoadAs(L"MAPARTIE"), L"A1;B3;C5");
    EXPECT_EQ(LoadAs(accented), L"H8;G6");
    EXPECT_EQ(LoadAs(foreign), L"E4;F6;H7");
    EXPECT_EQ(LoadAs(L"absent"), L"");
    EXPECT_TRUE(desktop_.boxes.empty());
}

// A file written by another program, in the ANSI code page, with whatever it may hold.
TEST_F(StudiesTest, LoadsWhateverTheFileHoldsByTheTolerantRules) {
    DecodeTour(Game().tour, L"a1");
    Click(IDC_SOLVE);
    const std::wstring full = EncodeTour(Game().tour);
    ASSERT_EQ(full.size(), 191u);
    WriteBytes(
        "[Autre]\r\ncl\xE9=1\r\n[Saltor]\r\ntrous=;;a1;;b3;c5;\r\nretour=a1;b3;a1\r\n"
        "suffixe=e4x;c3\r\ncomplet=" +
        std::string(full.begin(), full.end()) +
        ";a1;b3\r\nd\xE9j\xE0=A1;b3\r\nbruit=\x01zz;%d%s;;\r\nlong=a1;b3;c5;" +
        std::string(400, 'x') + "\r\na=b=c5\r\nz]=a1\r\n[x]y=a1\r\n");
    Open();
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"TROUS", L"A1;B3;C5"},
        {L"retour", L"A1;B3"},
        {L"suffixe", L"E4;C3"},
        {L"d\u00e9j\u00e0", L"A1;B3"},
        {L"bruit", L""},
        {L"long", L"A1;B3;C5"},
        {L"a", L""},
        {L"z]", L"A1"},
        {L"complet", full},
    };
    EXPECT_EQ(Listed().size(), std::size(cases));
    for (const auto& [name, tour] : cases) {
        EXPECT_EQ(LoadAs(name), tour) << name;
    }
    // The complete study is browsed: its navigation buttons are up after the idle pass.
    EXPECT_TRUE(Game().IsBrowsing());
    EXPECT_TRUE(IsWindowVisible(Item(IDC_FORWARD)) && !IsWindowVisible(Item(IDC_HINT)));
}

// Wine ignores the read-only flag when run as root: then that save must simply be whole.
TEST_F(StudiesTest, FailedWritesAreReportedAndTheListFollowsTheFile) {
    SaveAs(L"gard\u00e9e", L"a1");
    UniqueHandle lock(CreateFileW(gamePath_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock.Valid());
    SaveAs(L"perdue", L"a1;b3");
    PressDelete(L"gard\u00e9e", true);
    EXPECT_EQ(LoadAs(L"gard\u00e9e"), L"");  // unreadable, not fatal
    lock.Reset();
    ASSERT_EQ(desktop_.boxes.size(), 2u);
    EXPECT_EQ(desktop_.boxes[0].text.find(L"Impossible d'enregistrer"), 0u);
    EXPECT_EQ(desktop_.boxes[1].text.find(L"Impossible de supprimer"), 0u);
    EXPECT_NE(desktop_.boxes[1].text.find(gamePath_), std::wstring::npos);
    EXPECT_EQ(Listed(), Names{L"gard\u00e9e"});
    EXPECT_EQ(InFile(), Listed());

    desktop_.boxes.clear();
    SetFileAttributesW(gamePath_.c_str(), FILE_ATTRIBUTE_READONLY);
    SaveAs(L"lecture seule", L"a1;b3");
    const bool stored = GameFile(gamePath_).Read(L"lecture seule") == L"A1;B3";
    EXPECT_EQ(desktop_.boxes.size(), stored ? 0u : 1u);
    EXPECT_EQ(InFile(), Listed());
    SetFileAttributesW(gamePath_.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Names the file would store as something else: "=" and "[", and in an ANSI file, kept as
    // it is, a name outside its code page. Then a file in a missing folder.
    WriteBytes("[Saltor]\r\nd\xE9j\xE0=a1\r\n");
    Open();
    desktop_.boxes.clear();
    for (const wchar_t* name : {L"a=b", L"[x]", L"\u0445\u043e\u0434", L"fran\u00e7aise"}) {
        SaveAs(name, L"a1");
    }
    EXPECT_EQ(desktop_.boxes.size(), 3u);
    EXPECT_EQ(Listed(), (Names{L"d\u00e9j\u00e0", L"fran\u00e7aise"}));
    EXPECT_EQ(InFile(), Listed());
    Open((folder_ / L"absent" / L"Saltor.ini").wstring());
    SaveAs(L"", L"a1");
    EXPECT_EQ(desktop_.boxes.size(), 4u);
    EXPECT_TRUE(Listed().empty());
}

TEST_F(StudiesTest, ListsEveryNameOfALargeFile) {
    for (const int count : {0, 500, 5000}) {
        std::wstring text = L"\uFEFF[Saltor]\r\n";
        for (int i = 1; i <= count; ++i) {
            text += Study(i) + L"=A1;B3\r\n";
        }
        WriteBytes(std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, gamePath_.c_str());
        const auto start = std::chrono::steady_clock::now();
        Open();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        std::printf("%d studies: window opened with its list in %.1f ms\n", count, took.count());
        EXPECT_EQ(Listed().size(), static_cast<size_t>(count));
        SaveAs(L"", L"a1");
        EXPECT_EQ(GameFile(gamePath_).Read(Study(count + 1)), L"A1");
    }
}

}  // namespace
}  // namespace saltor
