// What the board's painter is told to draw. Colours, number placement and the marks' look are
// checked on painted pixels by the board painter's tests.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "board/paint_plan.h"
#include "reference/board_fakes.h"

namespace saltor {
namespace {

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

TEST_F(PaintPlanTest, ThePlanFillsEverySquareAndStartsTexturesOnWhite) {
    game.cellSize = 50;
    settings.BlackBgColor = 0x123456;
    const PaintPlan plan = Plan();
    EXPECT_TRUE(plan.drawTiles);
    for (int column = 0, n = 0; column < 8; ++column) {
        for (int row = 7; row >= 0; --row, ++n) {
            const SquareFill& fill = plan.squares[n];
            EXPECT_EQ(fill.square, (Square{column, row}));
            EXPECT_EQ(fill.rect, game.SquareRect({column, row}));
            EXPECT_EQ(fill.color, (column + row) % 2 == 1 ? 0xFFFFFFu : 0x123456u) << n;
        }
    }
    // The tile's top-left quadrant is the white texture, so each copy must start on white.
    EXPECT_EQ(plan.tileOrigins[15], (PixelPoint{300, 300}));
    for (const PixelPoint& p : plan.tileOrigins) {
        const Square s = game.SquareAtPoint(p.x, p.y);
        EXPECT_EQ((s.column + s.row) % 2, 1) << p.x << "," << p.y;
    }
    settings.SolidColor = true;
    EXPECT_FALSE(Plan().drawTiles);
    // Below 5 pixels c / 5 is 0, which GDI would read as its default size.
    game.cellSize = 4;
    EXPECT_EQ(Plan().smallFontHeight, 1);
}

TEST_F(PaintPlanTest, ThePlanPutsTheKnightNumbersMarksAndHint) {
    Place({{0, 0}, {1, 2}, {2, 4}, {3, 6}, {5, 7}});
    EXPECT_EQ(Plan().knightRect, game.SquareRect({5, 7}));
    // The square just played: small, and placed apart from the others.
    EXPECT_EQ(Plan().texts.back().font, PlanFont::Small);
    EXPECT_NE(Plan().texts.back().flags, Plan().texts[0].flags);
    game.tour.firstDoubtfulMove = 1;
    game.tour.firstLostMove = 3;
    EXPECT_EQ(Marks(), L"..?.?.X.X");
    game.tour.firstDoubtfulMove = 4;  // lost before any doubtful move: lost it is
    game.tour.firstLostMove = 2;
    EXPECT_EQ(Marks(), L"...X.X.X");
    // The hint shows only while it is the proposed next move, on the board.
    Hint({6, 6});
    EXPECT_EQ(Plan().hintRect, game.SquareRect({6, 6}));
    settings.HintsEnabled = false;  // marks are a judgement, switched off with hints; not the hint
    EXPECT_EQ(Marks(), L".....");
    EXPECT_EQ(Plan().hintSquare, (Square{6, 6}));
    Hint({8, 0});
    EXPECT_EQ(Plan().hintSquare, NoSquare);
    Hint({6, 6});
    game.tour.searchPath[4] = {5, 7};
    game.tour.TakeBack();  // the proposal for this position is now the move just undone
    EXPECT_EQ(Plan().hintSquare, NoSquare);
    game.tour.moves[1] = {9, 9};  // a square off the board ends the list
    EXPECT_EQ(Plan().texts.size(), 1u);
    // A chain's outlined squares carry the number of the first step naming each; others none.
    game.Outline(0b1011, {0b0011, 0b1010});
    EXPECT_EQ(Plan().outlineSteps, (std::vector<int>{1, 1, 2}));
    game.Outline(0b1);
    EXPECT_EQ(Plan().outlineSteps, (std::vector<int>{0}));

    // Browsing: the knight on the browsed move, every number large, no hint.
    game.tour.moves = TourFromA1();
    game.tour.moveCount = TourComplete;
    game.browseIndex = 10;
    game.hintSquare = SquareAt(5);
    game.tour.searchPath.fill(SquareAt(5));  // whatever the last search left: no hint now
    const PaintPlan plan = Plan();
    EXPECT_EQ(std::tuple(plan.knightSquare, plan.hintSquare),
              std::tuple(game.tour.moves[10], NoSquare));
    ASSERT_EQ(plan.texts.size(), 64u);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(std::tuple(plan.texts[i].text, plan.texts[i].font, plan.texts[i].rect),
                  std::tuple(std::to_wstring(i + 1), PlanFont::Large,
                             game.SquareRect(game.tour.moves[i])));
    }
}

}  // namespace
}  // namespace saltor
