#include <gtest/gtest.h>

#include <tuple>

#include "app/main_window_rules.h"
#include "app/program_paths.h"
#include "app/version_text.h"

namespace saltor {
namespace {

// The rest of the button rules are followed through a game in the main window's own test.
TEST(ButtonStatesTest, LoadingNeedsStudiesAndANameAndTheLastSquareCanStillBeSolved) {
    EXPECT_TRUE(ComputeButtonStates(0, 63, true, true).loadEnabled);  // no tour needed
    EXPECT_FALSE(ComputeButtonStates(0, 63, true, false).loadEnabled);
    EXPECT_FALSE(ComputeButtonStates(5, 63, false, true).loadEnabled);
    const ButtonStates last = ComputeButtonStates(63, 63, false, false);
    EXPECT_TRUE(!last.browse && last.solveEnabled && last.hintEnabled && last.backEnabled);
}

// The dialog as the template makes it at 96 dpi (the yardstick button 105 x 23 at x = 452, 29
// pixels of caption and borders) beside a board of 80-pixel squares.
TEST(LayoutTest, TheColumnStandsBesideTheBoardAndTheBottomButtonsAtTheBottom) {
    // board width and height, client and window heights, the button's width, height and left
    LayoutInput in{640, 640, 400, 429, 105, 23, 452, true};
    const LayoutResult r = ComputeLayout(in);
    EXPECT_EQ(
        std::tuple(r.windowWidth, r.windowHeight, r.splitterLeft, in.buttonLeft + r.columnShift),
        std::tuple(640 + 105 + 40, 29 + 640, 640, 650));
    // 10 pixels of margin below "Quitter", 5 between it, "A propos" and "Aide".
    EXPECT_EQ(std::tuple(r.helpTop, r.aboutTop, r.quitTop),
              std::tuple(630 - 3 * 23 - 10, 630 - 2 * 23 - 5, 630 - 23));
    in.panelShown = false;
    EXPECT_EQ(ComputeLayout(in).windowWidth, 640 + 20);  // the board and the splitter only
}

TEST(HelpFilePathTest, ReplacesOrAppendsTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(HelpFilePathFor(L"C:\\Jeux\\Saltor.exe"), L"C:\\Jeux\\Saltor.chm");
    EXPECT_EQ(HelpFilePathFor(L"C:\\Jeux\\Cavalier.v2.EXE"), L"C:\\Jeux\\Cavalier.v2.chm");
    EXPECT_EQ(HelpFilePathFor(L"C:\\Mes.jeux\\Saltor"), L"C:\\Mes.jeux\\Saltor.chm");
    EXPECT_EQ(HelpFilePathFor(L"Z:/tmp/v1.0/saltor"), L"Z:/tmp/v1.0/saltor.chm");
    // Its pages as HTML files lie in a folder named after it.
    EXPECT_EQ(HelpPagesFirstPageFor(L"C:\\Jeux\\Saltor.chm"), L"C:\\Jeux\\Saltor-aide\\index.htm");
    EXPECT_EQ(HelpPagesFirstPageFor(L""), L"");
    EXPECT_EQ(HelpPagesFirstPageFor(L".chm"), L"");
}

TEST(VersionTextTest, ReleaseShowsTwoNumbersPreReleaseAndUnreadDataFour) {
    EXPECT_EQ(FormatVersionText(VersionNumbers{0x00030000, 0x00000001, 0}), L"Version 3.0");
    EXPECT_EQ(FormatVersionText(VersionNumbers{0x00030000, 0x00000001, 0x2}),
              L"Version \u00DF 3.0.0.1");
    // Only the pre-release bit counts; the words are split into their 16-bit halves.
    EXPECT_EQ(FormatVersionText(VersionNumbers{0x000A0014, 0x001E0028, 0x1 | 0x4}),
              L"Version 10.20");
    EXPECT_EQ(FormatVersionText(std::nullopt), L"Version \u00DF 0.0.0.0");
}

}  // namespace
}  // namespace saltor
