#include <gtest/gtest.h>

#include "winkit/path_text.h"
#include "winkit/placement.h"
#include "winkit/text_format.h"

namespace saltor {
namespace {

TEST(PlacementTest, CentresThenKeepsTheLeftAndTopEdgesInside) {
    EXPECT_EQ(CentreOver({0, 0, 700, 600}, {0, 0, 1280, 1000}, {0, 0, 1280, 1000}),
              (WindowRect{290, 200, 990, 800}));
    // A monitor left of the primary one, its task bar at the top.
    EXPECT_EQ(CentreOver({0, 0, 700, 600}, {-1920, 40, 0, 1080}, {-1920, 40, 0, 1080}),
              (WindowRect{-1310, 260, -610, 860}));
    EXPECT_EQ(CentreOver({500, 500, 1900, 1700}, {0, 30, 1280, 1000}, {0, 30, 1280, 1000}),
              (WindowRect{0, 30, 1400, 1230}));
    EXPECT_EQ(CentreOver({0, 0, 280, 1200}, {0, 0, 1280, 1000}, {0, 0, 1280, 1000}),
              (WindowRect{500, 0, 780, 1200}));
    // Over an owner: centred on it, then kept inside the work area.
    EXPECT_EQ(CentreOver({0, 0, 200, 100}, {100, 100, 500, 400}, {0, 0, 1280, 1000}),
              (WindowRect{200, 200, 400, 300}));
    EXPECT_EQ(CentreOver({0, 0, 200, 100}, {1200, 900, 1400, 1100}, {0, 0, 1280, 1000}),
              (WindowRect{1080, 900, 1280, 1000}));
}

TEST(TextFormatTest, OnlyTheValuesGivenFillDirectives) {
    EXPECT_EQ(FormatNumbers(L"100%% %d-%d-%d", {7, -1, 0}), L"100% 7--1-0");
    // A translated text with other directives, or too many, cannot misbehave.
    EXPECT_EQ(FormatNumbers(L"%d %s %d %d %d%", {1, 2, 3}), L"1 %s 2 3 %d%");
    size_t used = 9;
    EXPECT_EQ(FormatNumbers(L"étude", {4}, &used), L"étude");
    EXPECT_EQ(used, 0u);

    EXPECT_EQ(FormatSubject(L"« %s » : %s", L"a%d"), L"« a%d » : %s");
    EXPECT_EQ(FormatSubject(L"Impossible :", L"C:\\x.ini"), L"Impossible :\nC:\\x.ini");
}

TEST(PathTextTest, NamesFoldersAndPartsOfWindowsPaths) {
    EXPECT_EQ(BaseNameWithoutExtension(L"C:\\Mes.jeux\\Saltor.v2.exe"), L"Saltor.v2");
    EXPECT_EQ(BaseNameWithoutExtension(L"Z:/tmp/saltor"), L"saltor");
    EXPECT_EQ(FolderOf(L"C:\\Images/bois.png"), L"C:\\Images");
    EXPECT_EQ(FolderOf(L"bois.png"), L"");
    std::wstring path = L"C:\\Roaming";
    AppendPathPart(path, L"Lorvaine");
    EXPECT_EQ(path, L"C:\\Roaming\\Lorvaine");
    path = L"C:\\";
    AppendPathPart(path, L"Saltor.cfg");
    EXPECT_EQ(path, L"C:\\Saltor.cfg");
    EXPECT_EQ(ReplaceExtension(L"", L".ini"), L"");
}

}  // namespace
}  // namespace saltor
