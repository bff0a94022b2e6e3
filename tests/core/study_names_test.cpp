#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "files/study_names.h"

namespace saltor {
namespace {

constexpr wchar_t kPattern[] = L"\u00e9tude n\u00b0 %d";

TEST(StudyNamesTest, NamesMatchAsTheGameFileMatchesThem) {
    EXPECT_EQ(AsciiLower(L"MaPartie \u00c9TUDE"), L"mapartie \u00c9tude");  // É is kept
    EXPECT_EQ(TrimStudyName(L" \t x y \r\n"), L"x y");
    for (const wchar_t* name : {L"", L"a=b", L"[x]", L";x", L"a\nb"}) {
        EXPECT_FALSE(IsStorableStudyName(name)) << name;
    }
    EXPECT_TRUE(IsStorableStudyName(L"x[1]; y"));
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool same;
    };
    const Case cases[] = {
        {L"MAPARTIE", L"mapartie", true},
        {L"\u00e9tude", L"\u00c9tude", false},            // only ASCII letters ignore case
        {L"\u00e9tude", L"\u00e9tude n\u00b0 1", false},  // a prefix is not the name
        {L"\u00e9tude n\u00b0 1", L"\u00e9tude n\u00b0 10", false},
        {L"", L"", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameStudyName(c.a, c.b), c.same) << c.a << L" / " << c.b;
    }
}

TEST(StudyNamesTest, NumberingTakesTheFirstNameNotListed) {
    struct Case {
        std::vector<std::wstring> listed;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {{}, L"\u00e9tude n\u00b0 1"},
        {{L"\u00e9tude n\u00b0 1", L"\u00e9tude n\u00b0 3"}, L"\u00e9tude n\u00b0 2"},
        {{L"\u00e9tude n\u00b0 10", L"\u00e9tude"}, L"\u00e9tude n\u00b0 1"},
        {{L"\u00c9TUDE N\u00b0 1"}, L"\u00e9tude n\u00b0 1"},  // É differs from é
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstFreeStudyName(kPattern, c.listed), c.expected);
    }
    EXPECT_EQ(NumberedStudyName(L"%s %% n%d %d", 12), L"%s % n12 %d");
}

TEST(StudyNamesTest, NameListsSplitAtNulls) {
    using namespace std::string_view_literals;
    EXPECT_EQ(SplitNameList(L"a\0bc\0\0junk\0"sv), (std::vector<std::wstring>{L"a", L"bc"}));
    EXPECT_EQ(SplitNameList(L"a\0b"sv), (std::vector<std::wstring>{L"a", L"b"}));  // unended
    EXPECT_TRUE(SplitNameList(L"\0\0"sv).empty());
    EXPECT_TRUE(SplitNameList(L""sv).empty());
}

}  // namespace
}  // namespace saltor
