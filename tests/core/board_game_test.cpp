#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "board/board_game.h"
#include "engine/tour_search.h"
#include "reference/scripted_host.h"
#include "reference/tour_checks.h"

namespace saltor {
namespace {

struct Invalidation {
    PixelRect rect;
    bool now;
};

struct Report {
    int movesPlayed, errors, hints;
};

// Records what the game asks of its window.
class RecordingView : public BoardView {
public:
    std::vector<BeepKind> beeps;
    std::vector<Invalidation> invalidations;
    int fullRedraws = 0;
    std::vector<Report> reports;
    std::vector<CursorKind> cursors;

    void Beep(BeepKind kind) override { beeps.push_back(kind); }
    void Invalidate(const PixelRect& rect, bool now) override {
        invalidations.push_back({rect, now});
    }
    void RedrawAll() override { ++fullRedraws; }
    void ShowReport(int movesPlayed, int errors, int hints) override {
        reports.push_back({movesPlayed, errors, hints});
    }
    void ShowCursor(CursorKind kind) override { cursors.push_back(kind); }

    void Clear() { *this = RecordingView(); }
    bool Invalidated(const PixelRect& rect) const {
        for (const Invalidation& i : invalidations) {
            if (i.rect == rect) {
                return true;
            }
        }
        return false;
    }
};

constexpr int kCell = 60;

// A tour from a1 as the search finds it (it needs no back-up from there).
std::array<Square, 64> TourFromA1() {
    TourState tour;
    tour.Play({0, 0});
    ScriptedHost host;
    TourSearch(tour, host).Solve(true, 0xFFFFFFFFu);
    return tour.moves;
}

// c2, d4, b3: a1's two neighbours are taken, so the position is lost on the third move.
constexpr Square kLostLine[] = {{2, 1}, {3, 3}, {1, 2}};

class BoardGameTest : public testing::Test {
protected:
    BoardGameTest() {
        settings.CalcDuration = 0xFFFFFFFFu;  // the scripted clock stands still anyway
        game.cellSize = kCell;
    }

    void ClickOn(Square s) { game.Click(s.column * kCell + kCell / 2, (7 - s.row) * kCell + 5); }
    void Play(std::initializer_list<Square> squares) {
        for (const Square& s : squares) {
            ASSERT_TRUE(game.tour.IsLegal(s));
            ClickOn(s);
        }
    }
    void PlayFirst(int count) {
        const std::array<Square, 64> tour = TourFromA1();
        for (int i = 0; i < count; ++i) {
            ClickOn(tour[i]);
        }
        ASSERT_EQ(game.tour.moveCount, count);
    }
    int CountCursors(CursorKind kind) {
        view.Clear();
        for (int i = 0; i < 64; ++i) {
            const Square s = SquareAt(i);
            game.MouseMove(s.column * kCell + 1, (7 - s.row) * kCell + 1);
        }
        EXPECT_EQ(view.cursors.size(), 64u);
        int count = 0;
        for (CursorKind k : view.cursors) {
            count += k == kind ? 1 : 0;
        }
        return count;
    }

    AppSettings settings;
    RecordingView view;
    ScriptedHost host;
    BoardGame game{view, host, settings};
};

TEST_F(BoardGameTest, PixelsMapToSquaresAndBack) {
    EXPECT_EQ(game.SquareAtPoint(0, 0), (Square{0, 7}));
    EXPECT_EQ(game.SquareAtPoint(479, 479), (Square{7, 0}));
    EXPECT_EQ(game.SquareAtPoint(480, 0), NoSquare);
    EXPECT_EQ(game.SquareAtPoint(0, 480), NoSquare);
    // Division truncates toward zero: the pixels just left of and above the board stay off it.
    EXPECT_EQ(game.SquareAtPoint(-1, 10), NoSquare);
    EXPECT_EQ(game.SquareAtPoint(10, -59), NoSquare);
    EXPECT_EQ(game.SquareRect({0, 0}), (PixelRect{0, 420, 60, 480}));
    EXPECT_EQ(game.SquareRect({7, 7}), (PixelRect{420, 0, 480, 60}));

    // Off the board, and with no square size, the pointer does nothing at all.
    game.Click(500, 10);
    game.MouseMove(10, 481);
    game.cellSize = 0;
    game.Click(10, 10);
    game.MouseMove(10, 10);
    EXPECT_EQ(game.tour.moveCount, 0);
    EXPECT_TRUE(view.beeps.empty());
    EXPECT_TRUE(view.cursors.empty());
}

TEST_F(BoardGameTest, ClicksPlayOrBeepAndClearTheHint) {
    ClickOn({5, 2});  // the first square may be any, and is never judged
    EXPECT_EQ(host.tickReads + host.polls + host.endCalls, 0u);
    game.Command(CmdNewGame);
    Play({{0, 0}});
    view.Clear();
    Play({{1, 2}});
    EXPECT_EQ(view.cursors, std::vector<CursorKind>{CursorKind::Forbidden});  // now visited
    // The new square and the one the knight left are repainted at once.
    ASSERT_EQ(view.invalidations.size(), 2u);
    EXPECT_EQ(view.invalidations[0].rect, game.SquareRect({1, 2}));
    EXPECT_EQ(view.invalidations[1].rect, game.SquareRect({0, 0}));
    EXPECT_TRUE(view.invalidations[0].now && view.invalidations[1].now);
    EXPECT_TRUE(view.beeps.empty());

    game.Command(CmdForwardOrHint);
    const Square hint = game.hintSquare;
    ASSERT_TRUE(game.tour.IsLegal(hint));
    view.Clear();
    ClickOn({0, 0});  // visited
    EXPECT_EQ(game.hintSquare, NoSquare);
    EXPECT_TRUE(view.Invalidated(game.SquareRect(hint)));
    ClickOn({5, 5});  // not a knight's move away
    EXPECT_EQ(view.beeps, (std::vector<BeepKind>{BeepKind::Plain, BeepKind::Plain}));
    EXPECT_EQ(game.tour.movesPlayed, 2);
    settings.Mute = true;
    ClickOn({5, 5});
    EXPECT_EQ(view.beeps.size(), 2u);
}

TEST_F(BoardGameTest, JudgementFollowsTheHintsSwitch) {
    settings.HintsEnabled = false;
    Play({kLostLine[0], kLostLine[1], kLostLine[2]});
    EXPECT_EQ(host.tickReads + host.polls, 0u);  // nothing judged
    EXPECT_TRUE(view.beeps.empty());
    EXPECT_EQ(game.tour.firstDoubtfulMove, NoMark);
    EXPECT_EQ(game.tour.firstLostMove, 2);  // the dead end is seen by the move itself

    // Judged, the same line is refused without a search or a new error, but it beeps.
    game.NewGame();
    settings.HintsEnabled = true;
    Play({kLostLine[0], kLostLine[1]});
    const uint64_t reads = host.tickReads;
    Play({kLostLine[2]});
    EXPECT_EQ(host.tickReads, reads);
    EXPECT_EQ(game.tour.errorCount, 0);
    EXPECT_EQ(view.beeps, std::vector<BeepKind>{BeepKind::Exclamation});

    // A judgement cancelled by the player counts as an error and marks the move doubtful. From
    // d4 then b3 the search has to back up, so a key press at its first square stops it.
    game.NewGame();
    settings.Mute = true;
    Play({{3, 3}});
    host.cancelAtPoll = host.polls + 1;
    Play({{1, 2}});
    EXPECT_EQ(game.tour.moveCount, 2);
    EXPECT_EQ(game.tour.errorCount, 1);
    EXPECT_EQ(game.tour.firstDoubtfulMove, 1);
    EXPECT_EQ(game.tour.firstLostMove, NoMark);
    EXPECT_EQ(view.beeps.size(), 1u);
}

TEST_F(BoardGameTest, HintsCountEveryRequestAndOutliveTheGame) {
    game.Command(CmdForwardOrHint);  // empty board: nothing to show
    EXPECT_EQ(view.beeps, std::vector<BeepKind>{BeepKind::Plain});
    PlayFirst(5);
    game.Command(CmdForwardOrHint);
    const Square hint = game.hintSquare;
    EXPECT_TRUE(game.tour.IsLegal(hint));
    game.Command(CmdForwardOrHint);
    EXPECT_EQ(game.hintSquare, hint);
    EXPECT_EQ(game.hintCount, 3);

    game.NewGame();
    Play({kLostLine[0], kLostLine[1], kLostLine[2]});
    view.Clear();
    game.Command(CmdForwardOrHint);
    EXPECT_EQ(game.hintSquare, NoSquare);
    EXPECT_EQ(view.beeps, std::vector<BeepKind>{BeepKind::Plain});
    EXPECT_EQ(game.hintCount, 4);

    // Taking back past the first move resets the tour's counters, not the hints.
    game.NewGame();
    Play({{3, 3}});
    host.cancelAtPoll = host.polls + 1;
    Play({{1, 2}});
    ASSERT_EQ(game.tour.errorCount, 1);
    game.Command(CmdBack);
    EXPECT_EQ(game.tour.firstDoubtfulMove, NoMark);  // the marks go with the move
    game.Command(CmdBack);
    EXPECT_EQ(game.tour.movesPlayed, 4);
    EXPECT_EQ(game.tour.errorCount, 1);
    game.Command(CmdBack);
    EXPECT_EQ(game.tour.movesPlayed, 0);
    EXPECT_EQ(game.tour.errorCount, 0);
    EXPECT_EQ(game.hintCount, 4);
}

TEST_F(BoardGameTest, HintAfterOneSquareIsAMoveOfARealTour) {
    // A path left by a search in an earlier position must not come back as the hint.
    settings.HintsEnabled = false;
    Play({{3, 3}, {5, 4}});
    game.Command(CmdForwardOrHint);
    game.Command(CmdBack);
    game.Command(CmdBack);
    Play({{0, 0}});
    view.Clear();
    game.Command(CmdForwardOrHint);
    EXPECT_TRUE(view.beeps.empty());
    EXPECT_TRUE(game.tour.IsLegal(game.hintSquare));
    EXPECT_EQ(game.tour.searchPath[1], game.hintSquare);  // what the painter checks
    EXPECT_EQ(game.tour.moveCount, 1);                    // the tour itself is not completed
}

TEST_F(BoardGameTest, SolvingBrowsesFromTheLastMovePlayedWithinTheTour) {
    PlayFirst(4);
    game.Command(CmdForwardOrHint);
    const Square hint = game.hintSquare;
    game.Command(CmdFirstOrRestart);  // a restart keeps the hint, unlike a new game
    EXPECT_EQ(game.tour.moveCount, 0);
    EXPECT_EQ(game.hintSquare, hint);

    PlayFirst(10);
    view.Clear();
    EXPECT_TRUE(game.Command(CmdLastOrSolve));
    ASSERT_TRUE(game.IsBrowsing());
    EXPECT_TRUE(IsKnightsTour(game.tour.moves));
    EXPECT_EQ(game.browseIndex, 9);
    EXPECT_EQ(view.fullRedraws, 1);
    EXPECT_TRUE(view.reports.empty());  // only a tour finished by hand is reported

    const auto step = [&](int command, int expected) {
        view.Clear();
        game.Command(command);
        EXPECT_EQ(game.browseIndex, expected);
        EXPECT_EQ(view.fullRedraws, 0);
    };
    step(CmdBack, 8);
    EXPECT_TRUE(view.Invalidated(game.SquareRect(game.tour.moves[9])));
    EXPECT_TRUE(view.Invalidated(game.SquareRect(game.tour.moves[8])));
    step(CmdForwardOrHint, 9);
    step(CmdForwardOrHint, 10);
    step(CmdFirstOrRestart, 0);
    step(CmdBack, 0);
    step(CmdLastOrSolve, 63);
    step(CmdForwardOrHint, 63);
    view.Clear();
    ClickOn({4, 4});  // clicks play nothing in browse mode
    EXPECT_EQ(view.beeps, std::vector<BeepKind>{BeepKind::Plain});
    EXPECT_FALSE(game.Command(1011));  // "?" arrives as 1010; other ids are not the board's

    game.Command(CmdNewGame);
    EXPECT_EQ(game.tour.moveCount, 0);
    EXPECT_EQ(game.hintSquare, NoSquare);
    EXPECT_EQ(game.browseIndex, 63);
    EXPECT_EQ(game.hintCount, 1);
}

TEST_F(BoardGameTest, FinishingTheTourByHandReportsTheCounters) {
    const std::array<Square, 64> tour = TourFromA1();
    for (int i = 0; i < 20; ++i) {
        ClickOn(tour[i]);
    }
    game.Command(CmdForwardOrHint);
    game.Command(CmdBack);
    for (int i = 19; i < 64; ++i) {
        ClickOn(tour[i]);
    }
    ASSERT_TRUE(game.IsBrowsing());
    EXPECT_TRUE(view.beeps.empty());  // every move was judged sound, the last one too
    ASSERT_EQ(view.reports.size(), 1u);
    EXPECT_EQ(view.reports[0].movesPlayed, 66);
    EXPECT_EQ(view.reports[0].errors, 0);
    EXPECT_EQ(view.reports[0].hints, 1);
}

TEST_F(BoardGameTest, TheCursorMarksWhereTheKnightMayGo) {
    EXPECT_EQ(CountCursors(CursorKind::Board), 64);
    Play({{7, 0}});
    EXPECT_EQ(CountCursors(CursorKind::Board), 2);
    EXPECT_EQ(CountCursors(CursorKind::Forbidden), 62);
    game.tour.searchRunning = true;
    EXPECT_EQ(CountCursors(CursorKind::Wait), 64);
    game.tour.searchRunning = false;
    game.Command(CmdLastOrSolve);
    ASSERT_TRUE(game.IsBrowsing());
    EXPECT_EQ(CountCursors(CursorKind::Forbidden), 64);
}

}  // namespace
}  // namespace saltor
