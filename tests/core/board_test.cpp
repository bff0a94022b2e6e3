// The board's game as its window drives it, and the plan its painter follows. Colours, number
// placement and the marks' look are checked on painted pixels by the board painter's tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "board/paint_plan.h"
#include "reference/board_fakes.h"
#include "reference/tour_checks.h"

namespace saltor {
namespace {

using Beeps = std::vector<BeepKind>;

// c2, d4, b3: a1's two neighbours are taken, so the position is lost on the third move.
constexpr Square kLostLine[] = {{2, 1}, {3, 3}, {1, 2}};

class BoardTest : public testing::Test, protected FakeBoard {
protected:
    BoardTest() { settings.CalcDuration = 0xFFFFFFFFu; }  // the scripted clock stands still

    void Click(std::initializer_list<Square> squares) {
        for (const Square& s : squares) {
            game.Click(s.column * 60 + 30, (7 - s.row) * 60 + 5);
        }
    }
    void PlayTour(int from, int to) {  // moves [from, to) of the tour from a1
        for (int i = from; i < to; ++i) {
            Click({tourFromA1[i]});
        }
    }
    int CountCursors(CursorKind kind) {
        view.Clear();
        for (int i = 0; i < 64; ++i) {
            game.MouseMove(i % 8 * 60 + 1, i / 8 * 60 + 1);
        }
        return static_cast<int>(std::count(view.cursors.begin(), view.cursors.end(), kind));
    }
    PaintPlan Plan() const { return MakePaintPlan(game, settings); }
    // The texts in order, each number as "." and each mark as itself.
    std::wstring Marks() const {
        std::wstring marks;
        for (const PlanText& t : Plan().texts) {
            marks += t.kind == PlanTextKind::Mark ? t.text : L".";
        }
        return marks;
    }

    const std::array<Square, 64> tourFromA1 = TourFromA1();
};

TEST_F(BoardTest, PixelsMapToSquaresAndBack) {
    EXPECT_EQ(game.SquareAtPoint(479, 479), (Square{7, 0}));
    EXPECT_EQ(game.SquareAtPoint(0, 0), (Square{0, 7}));
    // Division truncates toward zero: the pixels just left of and above the board stay off it.
    for (const auto& [x, y] : {std::pair{480, 479}, {479, 480}, {-1, 10}, {10, -59}}) {
        EXPECT_EQ(game.SquareAtPoint(x, y), NoSquare) << x << "," << y;
    }
    EXPECT_EQ(game.SquareRect({0, 0}), (PixelRect{0, 420, 60, 480}));
    EXPECT_EQ(game.SquareRect({7, 7}), (PixelRect{420, 0, 480, 60}));

    // Off the board, and with no square size, the pointer does nothing at all.
    game.Click(500, 10);
    game.cellSize = 0;
    game.MouseMove(10, 10);
    game.Click(10, 10);
    EXPECT_EQ(game.tour.moveCount, 0);
    EXPECT_TRUE(view.beeps.empty() && view.cursors.empty());
}

TEST_F(BoardTest, ClicksPlayOrBeepAndClearTheHint) {
    Click({{0, 0}});  // the first square is never judged
    EXPECT_EQ(host.tickReads + host.polls, 0u);
    view.Clear();
    Click({{1, 2}});
    // Both the knight's new square and the one it left are repainted.
    EXPECT_TRUE(view.Invalidated(game.SquareRect({1, 2})) &&
                view.Invalidated(game.SquareRect({0, 0})));

    game.Command(BoardCommand::ForwardOrHint);
    const Square hint = game.hintSquare;
    view.Clear();
    Click({{0, 0}, {5, 5}});  // visited, then not a knight's move away
    EXPECT_EQ(game.hintSquare, NoSquare);
    EXPECT_TRUE(view.Invalidated(game.SquareRect(hint)));
    EXPECT_EQ(view.beeps, (Beeps{BeepKind::Plain, BeepKind::Plain}));
    EXPECT_EQ(game.tour.movesPlayed, 2);
    settings.Mute = true;
    Click({{5, 5}});
    EXPECT_EQ(view.beeps.size(), 2u);
}

TEST_F(BoardTest, JudgementFollowsTheHintsSwitchAndACancelCountsAsAnError) {
    settings.HintsEnabled = false;
    Click({kLostLine[0], kLostLine[1], kLostLine[2]});
    EXPECT_EQ(host.tickReads + host.polls, 0u);  // nothing judged
    EXPECT_EQ(game.tour.firstLostMove, 2);       // the dead end is seen by the move itself

    // Judged, the same line counts no error, but it beeps; and it has no hint to offer.
    game.NewGame();
    settings.HintsEnabled = true;
    Click({kLostLine[0], kLostLine[1], kLostLine[2]});
    EXPECT_EQ(game.tour.errorCount, 0);
    game.Command(BoardCommand::ForwardOrHint);
    EXPECT_EQ(game.hintSquare, NoSquare);

    // From d4 then b3 the search has to back up, so a key press at its first poll stops it: the
    // move stands, doubtful, and counts as an error.
    game.NewGame();
    Click({{3, 3}});
    host.cancelAtPoll = host.polls + 1;
    Click({{1, 2}});
    EXPECT_EQ(std::tuple(game.tour.moveCount, game.tour.errorCount, game.tour.firstDoubtfulMove,
                         game.tour.firstLostMove),
              std::tuple(2, 1, 1, NoMark));
    EXPECT_EQ(view.beeps, (Beeps{BeepKind::Exclamation, BeepKind::Plain, BeepKind::Exclamation}));

    game.Command(BoardCommand::Back);
    EXPECT_EQ(game.tour.firstDoubtfulMove, NoMark);  // the marks go with the move
    game.Command(BoardCommand::Back);
    EXPECT_EQ(game.tour.errorCount, 1);
    game.Command(BoardCommand::Back);  // past the first move the counters restart, not the hints
    EXPECT_EQ(game.tour.errorCount, 0);
    EXPECT_EQ(game.hintCount, 1);
}

TEST_F(BoardTest, EveryVerdictRepaintsTheMarksAndHintItChanges) {
    Click({{3, 3}, {1, 2}});
    game.Command(BoardCommand::ForwardOrHint);
    const Square hint = game.hintSquare;
    ASSERT_NE(hint, NoSquare);

    // A cancelled hint takes the thumbs-up away and puts the "?" on the move it judged.
    view.Clear();
    host.cancelAtPoll = host.polls + 1;
    game.Command(BoardCommand::ForwardOrHint);
    EXPECT_EQ(game.hintSquare, NoSquare);
    EXPECT_EQ(game.tour.firstDoubtfulMove, 1);
    EXPECT_TRUE(view.Invalidated(game.SquareRect(hint)));
    EXPECT_TRUE(view.Invalidated(game.SquareRect({1, 2})));
    EXPECT_FALSE(view.Invalidated(game.SquareRect({3, 3})));

    // A hint that finds a tour again takes the "?" away.
    view.Clear();
    game.Command(BoardCommand::ForwardOrHint);
    EXPECT_EQ(game.hintSquare, hint);
    EXPECT_EQ(game.tour.firstDoubtfulMove, NoMark);
    EXPECT_TRUE(view.Invalidated(game.SquareRect({1, 2})) &&
                view.Invalidated(game.SquareRect(hint)));

    // Taking the move back takes the hint away too.
    view.Clear();
    game.Command(BoardCommand::Back);
    EXPECT_EQ(game.hintSquare, NoSquare);
    EXPECT_TRUE(view.Invalidated(game.SquareRect(hint)));
}

TEST_F(BoardTest, HintAfterOneSquareIsAMoveOfARealTour) {
    // A path left by a search in another position must not come back as the hint.
    Click({{0, 0}});
    game.tour.searchPath.fill({5, 4});
    game.Command(BoardCommand::ForwardOrHint);
    const Square hint = game.hintSquare;
    EXPECT_TRUE(game.tour.IsLegal(hint));
    EXPECT_EQ(game.tour.searchPath[1], hint);  // what the painter checks
    EXPECT_EQ(game.tour.moveCount, 1);         // the tour itself is not completed

    game.Command(BoardCommand::FirstOrRestart);  // a restart keeps the hint, a new game does not
    EXPECT_EQ(game.tour.moveCount, 0);
    EXPECT_EQ(game.hintSquare, hint);
    game.Command(BoardCommand::NewGame);
    EXPECT_EQ(game.hintSquare, NoSquare);
}

TEST_F(BoardTest, ASolvedTourIsBrowsedAndOnlyOneFinishedByHandIsReported) {
    PlayTour(0, 10);
    game.Command(BoardCommand::LastOrSolve);
    ASSERT_TRUE(game.IsBrowsing());
    EXPECT_TRUE(IsKnightsTour(game.tour.moves));
    EXPECT_EQ(game.browseIndex, 9);  // the last move played
    EXPECT_EQ(view.fullRedraws, 1);
    EXPECT_TRUE(view.reports.empty());

    view.Clear();
    game.Command(BoardCommand::Back);
    EXPECT_TRUE(view.Invalidated(game.SquareRect(game.tour.moves[9])) &&
                view.Invalidated(game.SquareRect(game.tour.moves[8])));
    EXPECT_EQ(view.invalidated.size(), 2u);  // browsing repaints no marks nor hint
    std::vector<int> indices;
    for (const BoardCommand command :
         {BoardCommand::ForwardOrHint, BoardCommand::LastOrSolve, BoardCommand::ForwardOrHint,
          BoardCommand::FirstOrRestart, BoardCommand::Back}) {
        game.Command(command);
        indices.push_back(game.browseIndex);
    }
    EXPECT_EQ(indices, (std::vector{9, 63, 63, 0, 0}));
    Click({{4, 4}});  // clicks play nothing in browse mode
    EXPECT_EQ(view.beeps, Beeps{BeepKind::Plain});
    game.Command(BoardCommand::NewGame);
    EXPECT_EQ(game.browseIndex, 63);

    view.Clear();
    PlayTour(0, 20);
    game.Command(BoardCommand::ForwardOrHint);
    game.Command(BoardCommand::Back);
    PlayTour(19, 64);
    EXPECT_TRUE(view.beeps.empty());  // every move was judged sound, the last one too
    EXPECT_EQ(view.reports, (std::vector<std::array<int, 3>>{{66, 0, 1}}));
}

TEST_F(BoardTest, TheCursorMarksWhereTheKnightMayGo) {
    EXPECT_EQ(CountCursors(CursorKind::Board), 64);
    Click({{7, 0}});
    EXPECT_EQ(CountCursors(CursorKind::Board), 2);
    game.tour.searchRunning = true;
    EXPECT_EQ(CountCursors(CursorKind::Wait), 64);
    game.tour.searchRunning = false;
    // The board chooses its cursor when the search ends: in browse mode, where no move is legal.
    host.onEnd = [this] { game.MouseMove(5 * 60 + 1, 6 * 60 + 1); };  // f2, a move from h1
    view.Clear();
    game.Command(BoardCommand::LastOrSolve);
    ASSERT_TRUE(game.IsBrowsing());
    EXPECT_EQ(view.cursors.back(), CursorKind::Forbidden);
    EXPECT_EQ(CountCursors(CursorKind::Forbidden), 64);
}

TEST_F(BoardTest, ThePlanFillsEverySquareAndStartsTexturesOnWhite) {
    game.cellSize = 50;
    settings.BlackBgColor = 0x123456;
    const PaintPlan plan = Plan();
    EXPECT_EQ(std::tuple(plan.cellSize, plan.largeFontHeight, plan.smallFontHeight,
                         plan.hintFontHeight, plan.drawTiles),
              std::tuple(50, 25, 10, 50, true));
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

TEST_F(BoardTest, ThePlanPutsTheKnightNumbersMarksAndHint) {
    Place({{0, 0}, {1, 2}, {2, 4}, {3, 6}, {5, 7}});
    EXPECT_EQ(Plan().knightRect, game.SquareRect({5, 7}));
    const PlanText last = Plan().texts.back();  // the square just played: small, out of the way
    EXPECT_EQ(std::tuple(last.text, last.font, last.flags),
              std::tuple(L"5", PlanFont::Small, kTextBottomRight));
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
