#include <gtest/gtest.h>

#include <string>

#include "board/paint_plan.h"
#include "reference/board_fakes.h"

namespace saltor {
namespace {

// Square colours, number placement and the mark's look are checked on painted pixels by the
// board painter's tests; these check what the plan decides.
class PaintPlanTest : public testing::Test, protected FakeBoard {
protected:
    PaintPlan Plan() const { return MakePaintPlan(game, settings); }
    // The texts in order, each number as "." and each mark as itself.
    std::wstring Marks() const {
        std::wstring marks;
        for (const PlanText& t : Plan().texts) {
            marks += t.kind == PlanTextKind::Mark ? t.text : L".";
        }
        return marks;
    }
};

TEST_F(PaintPlanTest, TextureTilesStartOnWhiteSquares) {
    // The tile's top-left quadrant is the white texture, so each copy must start on white.
    const PaintPlan plan = Plan();
    EXPECT_EQ(plan.tileOrigins[15], (PixelPoint{360, 360}));
    for (const PixelPoint& p : plan.tileOrigins) {
        const Square s = game.SquareAtPoint(p.x, p.y);
        EXPECT_EQ((s.column + s.row) % 2, 1) << p.x << "," << p.y;
    }
}

TEST_F(PaintPlanTest, TheKnightStandsOnTheLastMoveOrTheBrowsedOneWithNoHint) {
    Place({{0, 0}, {1, 2}});
    EXPECT_EQ(Plan().knightRect, game.SquareRect({1, 2}));

    game.tour.moves = TourFromA1();
    game.tour.moveCount = TourComplete;
    game.browseIndex = 10;
    game.hintSquare = SquareAt(5);
    game.tour.searchPath.fill(SquareAt(5));  // whatever the last search left: no hint now
    const PaintPlan plan = Plan();
    EXPECT_EQ(plan.knightSquare, game.tour.moves[10]);
    EXPECT_EQ(plan.hintSquare, NoSquare);
    ASSERT_EQ(plan.texts.size(), 64u);
    for (int i = 0; i < 64; ++i) {  // every number large: no move was just played
        EXPECT_EQ(plan.texts[i].text, std::to_wstring(i + 1));
        EXPECT_EQ(plan.texts[i].font, PlanFont::Large);
        EXPECT_EQ(plan.texts[i].rect, game.SquareRect(game.tour.moves[i]));
    }
}

TEST_F(PaintPlanTest, MarksFollowTheFirstDoubtfulAndLostMoves) {
    Place({{0, 0}, {1, 2}, {2, 4}, {3, 6}, {5, 7}});
    game.tour.firstDoubtfulMove = 1;
    game.tour.firstLostMove = 3;
    EXPECT_EQ(Marks(), L"..?.?.X.X");
    // Lost before any doubtful move: lost it is.
    game.tour.firstDoubtfulMove = 4;
    game.tour.firstLostMove = 2;
    EXPECT_EQ(Marks(), L"...X.X.X");
    // Marks are a judgement, switched off with hints; the hint sign is not.
    Hint({6, 6});
    settings.HintsEnabled = false;
    EXPECT_EQ(Marks(), L".....");
    EXPECT_EQ(Plan().hintSquare, (Square{6, 6}));
}

TEST_F(PaintPlanTest, TheHintShowsOnlyWhileItIsTheProposedNextMove) {
    Place({{0, 0}, {1, 2}});
    Hint({2, 4});
    EXPECT_EQ(Plan().hintSquare, (Square{2, 4}));
    Hint({8, 0});  // off the board
    EXPECT_EQ(Plan().hintSquare, NoSquare);
    // Taken back: the proposal for this position is the move just undone.
    Hint({2, 4});
    game.tour.searchPath[1] = {1, 2};
    game.tour.TakeBack();
    EXPECT_EQ(Plan().hintSquare, NoSquare);
}

TEST_F(PaintPlanTest, MovesOffTheBoardEndTheListAndFontsNeverReachZero) {
    Place({{0, 0}, {1, 2}, {2, 4}});
    game.tour.moves[1] = {9, 9};
    EXPECT_EQ(Plan().texts.size(), 1u);
    // Below 5 pixels c / 5 is 0, which GDI would read as its default size.
    game.cellSize = 4;
    EXPECT_EQ(Plan().smallFontHeight, 1);
}

}  // namespace
}  // namespace saltor
