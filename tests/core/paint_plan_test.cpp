#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "board/board_game.h"
#include "board/paint_plan.h"

namespace saltor {
namespace {

struct NullView : BoardView {
    void Beep(BeepKind) override {}
    void Invalidate(const PixelRect&, bool) override {}
    void RedrawAll() override {}
    void ShowReport(int, int, int) override {}
    void ShowCursor(CursorKind) override {}
};

struct NullHost : SearchHost {
    uint32_t TickCount() override { return 0; }
    bool PollCancel() override { return false; }
    void ShowBusy() override {}
    void SearchEnded() override {}
};

class PaintPlanTest : public ::testing::Test {
protected:
    PaintPlanTest() { game.cellSize = 70; }

    // Plays `squares` with no marks set.
    void Play(std::initializer_list<Square> squares) {
        for (Square s : squares) {
            game.tour.Play(s);
        }
        game.tour.firstDoubtfulMove = game.tour.firstLostMove = NoMark;
    }

    // Offers `s` as the hint for the current position, as a finished search leaves it.
    void Hint(Square s) {
        game.tour.searchPath[game.tour.SquaresOnBoard()] = s;
        game.hintSquare = s;
    }

    PaintPlan Plan() const { return MakePaintPlan(game, settings); }

    std::wstring Marks() const {
        std::wstring marks;
        for (const PlanText& t : Plan().texts) {
            marks += t.kind == PlanTextKind::Mark ? t.text : L".";
        }
        return marks;
    }

    NullView view;
    NullHost host;
    AppSettings settings;
    BoardGame game{view, host, settings};
};

TEST_F(PaintPlanTest, SquaresAndTilesCoverTheBoard) {
    settings.WhiteBgColor = 0x123456;
    settings.BlackBgColor = 0x654321;
    PaintPlan plan = Plan();
    // Column by column from the top; a square is white when column + row is odd.
    EXPECT_EQ(plan.squares[0].rect, (PixelRect{0, 0, 70, 70}));
    EXPECT_EQ(plan.squares[7].rect, (PixelRect{0, 490, 70, 560}));
    EXPECT_EQ(plan.squares[8].square, (Square{1, 7}));
    for (const SquareFill& fill : plan.squares) {
        const bool white = (fill.square.column + fill.square.row) % 2 == 1;
        EXPECT_EQ(fill.color, white ? 0x123456u : 0x654321u);
        EXPECT_EQ(fill.rect, game.SquareRect(fill.square));
    }

    EXPECT_TRUE(plan.drawTiles);
    EXPECT_EQ(plan.tileOrigins[1], (PixelPoint{0, 140}));
    EXPECT_EQ(plan.tileOrigins[15], (PixelPoint{420, 420}));
    // The tile's top-left quadrant is the white texture, so each copy must start on white.
    for (const PixelPoint& p : plan.tileOrigins) {
        const Square s = game.SquareAtPoint(p.x, p.y);
        EXPECT_EQ((s.column + s.row) % 2, 1) << p.x << "," << p.y;
    }
    settings.SolidColor = true;
    EXPECT_FALSE(Plan().drawTiles);
}

TEST_F(PaintPlanTest, EmptyBoardHasOnlyColoursAndPerhapsTheHint) {
    PaintPlan plan = Plan();
    EXPECT_TRUE(plan.texts.empty());
    EXPECT_EQ(plan.knightSquare, NoSquare);
    EXPECT_EQ(plan.hintSquare, NoSquare);

    Hint({3, 3});
    plan = Plan();
    EXPECT_EQ(plan.hintSquare, (Square{3, 3}));
    EXPECT_EQ(plan.hintRect, (PixelRect{210, 280, 280, 350}));
}

TEST_F(PaintPlanTest, LastMoveCarriesKnightAndSmallNumber) {
    Play({{0, 0}});
    PaintPlan plan = Plan();
    EXPECT_EQ(plan.knightRect, (PixelRect{0, 490, 70, 560}));
    ASSERT_EQ(plan.texts.size(), 1u);
    EXPECT_EQ(plan.texts[0].text, L"1");
    EXPECT_EQ(plan.texts[0].font, PlanFont::Small);
    EXPECT_EQ(plan.texts[0].flags, kTextBottomRight);
    EXPECT_EQ(plan.texts[0].color, settings.BlackFgColor);  // a1 is black

    // The next move takes the knight and the small number; the first becomes large.
    Play({{1, 2}});
    plan = Plan();
    EXPECT_EQ(plan.knightSquare, (Square{1, 2}));
    ASSERT_EQ(plan.texts.size(), 2u);
    EXPECT_EQ(plan.texts[0].font, PlanFont::Large);
    EXPECT_EQ(plan.texts[0].flags, kTextCentered);
    EXPECT_EQ(plan.texts[1].font, PlanFont::Small);
    EXPECT_EQ(plan.texts[1].color, settings.WhiteFgColor);  // b3 is white
}

TEST_F(PaintPlanTest, BrowseModeShowsEveryNumberLargeAndTheChosenKnight) {
    for (int k = 0; k < 64; ++k) {
        game.tour.moves[k] = SquareAt(k);  // the painter does not check that it is a tour
    }
    game.tour.moveCount = TourComplete;
    game.browseIndex = 10;
    game.tour.searchPath.fill(SquareAt(5));  // whatever the last search left
    game.hintSquare = SquareAt(5);

    const PaintPlan plan = Plan();
    EXPECT_EQ(plan.knightSquare, SquareAt(10));
    EXPECT_EQ(plan.hintSquare, NoSquare);
    ASSERT_EQ(plan.texts.size(), 64u);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(plan.texts[i].text, std::to_wstring(i + 1));
        EXPECT_EQ(plan.texts[i].font, PlanFont::Large);
        EXPECT_EQ(plan.texts[i].rect, game.SquareRect(SquareAt(i)));
    }
}

TEST_F(PaintPlanTest, MarksFollowTheFirstDoubtfulAndLostMoves) {
    Play({{0, 0}, {1, 2}, {2, 4}, {3, 6}, {5, 7}});
    game.tour.firstDoubtfulMove = 1;
    game.tour.firstLostMove = 3;
    EXPECT_EQ(Marks(), L"..?.?.X.X");
    const PlanText mark = Plan().texts[2];
    EXPECT_EQ(mark.square, (Square{1, 2}));
    EXPECT_EQ(mark.color, kMarkColor);
    EXPECT_EQ(mark.font, PlanFont::Large);
    EXPECT_EQ(mark.flags, kTextBottomLeft);

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

TEST_F(PaintPlanTest, HintShowsOnlyWhileItIsTheProposedNextMove) {
    Play({{0, 0}, {1, 2}});
    Hint({2, 4});
    EXPECT_EQ(Plan().hintSquare, (Square{2, 4}));

    // Taken back: the proposal for this position is the move just undone.
    game.tour.searchPath[1] = {1, 2};
    game.tour.TakeBack();
    EXPECT_EQ(Plan().hintSquare, NoSquare);

    // Played on past it: hintSquare is stale.
    Play({{1, 2}, {2, 4}});
    EXPECT_EQ(Plan().hintSquare, NoSquare);

    game.hintSquare = game.tour.searchPath[3] = {8, 0};
    EXPECT_EQ(Plan().hintSquare, NoSquare);
}

TEST_F(PaintPlanTest, FontHeightsFollowTheSquareSize) {
    // Below 5 pixels c / 5 is 0, which GDI would read as its default size.
    for (const auto [cell, large, small, hint] :
         {std::array{70, 35, 14, 70}, std::array{74, 37, 14, 74}, std::array{4, 2, 1, 4}}) {
        game.cellSize = cell;
        const PaintPlan plan = Plan();
        EXPECT_EQ(plan.largeFontHeight, large) << cell;
        EXPECT_EQ(plan.smallFontHeight, small) << cell;
        EXPECT_EQ(plan.hintFontHeight, hint) << cell;
    }
}

TEST_F(PaintPlanTest, MoveListEndsAtTheFirstSquareOffTheBoard) {
    Play({{0, 0}, {1, 2}, {2, 4}});
    game.tour.moves[1] = {9, 9};
    ASSERT_EQ(Plan().texts.size(), 1u);
}

}  // namespace
}  // namespace saltor
