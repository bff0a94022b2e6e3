#include <gtest/gtest.h>

#include "app/help_path.h"
#include "app/main_window_rules.h"

namespace saltor {
namespace {

TEST(ButtonStatesTest, PlayModeOpensButtonsAsTheTourGrows) {
    const ButtonStates start = ComputeButtonStates(0, 63, true, true);
    EXPECT_FALSE(start.browse || start.newGameEnabled || start.solveEnabled || start.saveEnabled ||
                 start.backEnabled || start.hintEnabled);
    EXPECT_TRUE(start.loadEnabled);  // loading needs studies and a name, not a tour

    const ButtonStates one = ComputeButtonStates(1, 63, false, true);
    EXPECT_TRUE(one.newGameEnabled && one.solveEnabled && one.saveEnabled && one.backEnabled);
    EXPECT_FALSE(one.hintEnabled);  // a hint needs a position to search from
    EXPECT_FALSE(one.loadEnabled);
    EXPECT_TRUE(ComputeButtonStates(2, 63, false, false).hintEnabled);
    EXPECT_TRUE(ComputeButtonStates(63, 63, false, false).solveEnabled);
}

TEST(ButtonStatesTest, BrowseModeClosesTheWayPastEitherEnd) {
    const ButtonStates first = ComputeButtonStates(99, 0, false, false);
    EXPECT_TRUE(first.browse);
    EXPECT_FALSE(first.firstEnabled || first.backEnabled);
    EXPECT_TRUE(first.forwardEnabled && first.lastEnabled);
    // A complete tour can be saved and started over, not solved or hinted.
    EXPECT_TRUE(first.saveEnabled && first.newGameEnabled);
    EXPECT_FALSE(first.solveEnabled || first.hintEnabled);

    const ButtonStates last = ComputeButtonStates(99, 63, false, false);
    EXPECT_TRUE(last.firstEnabled && last.backEnabled);
    EXPECT_FALSE(last.forwardEnabled || last.lastEnabled);
}

// The dialog as the template makes it at 96 dpi: the yardstick button 105 x 23 at x = 452, and
// 29 pixels of caption and borders.
TEST(LayoutTest, TheColumnStandsBesideTheBoardAndTheBottomButtonsAtTheBottom) {
    LayoutInput in;
    in.boardWidth = in.boardHeight = 560;
    in.clientHeight = 400;
    in.windowHeight = 429;
    in.buttonWidth = 105;
    in.buttonHeight = 23;
    in.buttonLeft = 452;
    const LayoutResult shown = ComputeLayout(in);
    EXPECT_EQ(shown.windowHeight, 29 + 560);  // the client area is as high as the board
    EXPECT_EQ(shown.windowWidth, 560 + 105 + 40);
    EXPECT_EQ(in.buttonLeft + shown.columnShift, 570);
    EXPECT_EQ(shown.splitterLeft, 560);
    EXPECT_EQ(shown.quitTop + 23, 550);  // 10 pixels of margin, then 5 between the buttons
    EXPECT_EQ(shown.aboutTop + 23, shown.quitTop - 5);
    EXPECT_EQ(shown.helpTop + 23, shown.aboutTop - 5);

    in.buttonLeft = 570;
    EXPECT_EQ(ComputeLayout(in).columnShift, 0);  // already in place: nothing moves

    in.panelShown = false;
    const LayoutResult hidden = ComputeLayout(in);
    EXPECT_EQ(hidden.windowWidth, 560 + 20);  // the board and the splitter only
    EXPECT_EQ(hidden.windowHeight, 29 + 560);
}

TEST(CentreInWorkAreaTest, CentresThenKeepsTheLeftAndTopEdgesInside) {
    EXPECT_EQ(CentreInWorkArea({0, 0, 700, 600}, {0, 0, 1280, 1000}),
              (WindowRect{290, 200, 990, 800}));
    // A monitor left of the primary one, its task bar at the top.
    EXPECT_EQ(CentreInWorkArea({0, 0, 700, 600}, {-1920, 40, 0, 1080}),
              (WindowRect{-1310, 260, -610, 860}));
    EXPECT_EQ(CentreInWorkArea({500, 500, 1900, 1700}, {0, 30, 1280, 1000}),
              (WindowRect{0, 30, 1400, 1230}));
    EXPECT_EQ(CentreInWorkArea({0, 0, 280, 1200}, {0, 0, 1280, 1000}),
              (WindowRect{500, 0, 780, 1200}));
}

TEST(HelpFilePathTest, ReplacesOrAppendsTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(HelpFilePathFor(L"C:\\Jeux\\Saltor.exe"), L"C:\\Jeux\\Saltor.chm");
    EXPECT_EQ(HelpFilePathFor(L"C:\\Jeux\\Cavalier.v2.EXE"), L"C:\\Jeux\\Cavalier.v2.chm");
    EXPECT_EQ(HelpFilePathFor(L"C:\\Mes.jeux\\Saltor"), L"C:\\Mes.jeux\\Saltor.chm");
    EXPECT_EQ(HelpFilePathFor(L"Z:/tmp/v1.0/saltor"), L"Z:/tmp/v1.0/saltor.chm");
    EXPECT_EQ(HelpFilePathFor(L""), L"");
}

}  // namespace
}  // namespace saltor
