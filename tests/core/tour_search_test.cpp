#include <gtest/gtest.h>

#include "engine/tour_search.h"
#include "reference/scripted_host.h"
#include "reference/tour_checks.h"

namespace saltor {
namespace {

constexpr uint32_t Unlimited = 0xFFFFFFFFu;

struct Outcome {
    bool found;
    SearchStats stats;
};

Outcome RunSolve(TourState& tour, ScriptedHost& host, bool complete, uint32_t budget) {
    TourSearch search(tour, host);
    const bool found = search.Solve(complete, budget);
    return {found, search.Stats()};
}

void PlayAll(TourState& tour, std::initializer_list<Square> squares) {
    for (const Square& s : squares) {
        ASSERT_TRUE(tour.IsLegal(s));
        tour.Play(s);
    }
}

TEST(TourSearchTest, TrivialPositionsAreNotSearched) {
    ScriptedHost host;
    TourState tour;
    EXPECT_TRUE(RunSolve(tour, host, true, 0).found);  // nothing to complete
    tour.Play({4, 4});
    EXPECT_TRUE(RunSolve(tour, host, false, 0).found);  // one square is never judged
    EXPECT_EQ(host.tickReads + host.polls + host.endCalls, 0u);

    // Completing from one square does search.
    EXPECT_TRUE(RunSolve(tour, host, true, Unlimited).found);
    EXPECT_EQ(host.endCalls, 1u);
    EXPECT_EQ(tour.moveCount, TourComplete);

    // A complete tour is left alone.
    const TourState before = tour;
    EXPECT_TRUE(RunSolve(tour, host, false, 0).found);
    EXPECT_EQ(tour.moves, before.moves);
    EXPECT_EQ(host.endCalls, 1u);
}

TEST(TourSearchTest, TrappedKnightIsLostAtOnce) {
    // b3, d4, c2, a1: the knight has no unvisited neighbour left.
    TourState tour;
    PlayAll(tour, {{1, 2}, {3, 3}, {2, 1}, {0, 0}});
    tour.firstLostMove = NoMark;  // isolate the search's own verdict from the one Play made
    ScriptedHost host;
    const Outcome outcome = RunSolve(tour, host, false, 1000);
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.stats.squaresPlaced, 0u);
    EXPECT_EQ(tour.firstLostMove, 3);
    EXPECT_EQ(tour.firstDoubtfulMove, 3);
    EXPECT_EQ(tour.errorCount, 1);
    EXPECT_EQ(tour.searchDepth, 3);

    // A known lost position is not searched again, nor counted, until its move is taken back.
    ScriptedHost again;
    EXPECT_FALSE(RunSolve(tour, again, false, 1000).found);
    EXPECT_EQ(again.tickReads + again.polls + again.endCalls, 0u);
    EXPECT_EQ(tour.errorCount, 1);
    tour.TakeBack();
    EXPECT_EQ(tour.firstLostMove, NoMark);
}

// Plays d1 and the first `extra` moves of the tour the search finds from there: from d1 the
// search has to back up, so these positions exercise time-outs and cancels.
TourState BackingUpPosition(int extra) {
    TourState tour;
    tour.Play({3, 0});
    ScriptedHost host;
    TourState solved = tour;
    EXPECT_TRUE(RunSolve(solved, host, true, Unlimited).found);
    for (int i = 1; i <= extra; ++i) {
        tour.Play(solved.moves[i]);
    }
    return tour;
}

TEST(TourSearchTest, TimeOutIsDoubtfulAndALaterSuccessClearsIt) {
    TourState tour = BackingUpPosition(1);
    ScriptedHost host;
    host.tickStep = 1;
    const Outcome outcome = RunSolve(tour, host, false, 0);
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.stats.backups, 0u);  // stops at its first back-up
    EXPECT_EQ(host.tickReads, 2u);         // the start and that back-up
    EXPECT_EQ(tour.firstDoubtfulMove, 1);
    EXPECT_EQ(tour.firstLostMove, NoMark);
    EXPECT_EQ(tour.errorCount, 1);
    EXPECT_EQ(tour.searchDepth, 1);

    // A doubtful move stays marked through later failures, and a success clears it.
    const TourState solved = [] {
        TourState t = BackingUpPosition(0);
        ScriptedHost h;
        RunSolve(t, h, true, Unlimited);
        return t;
    }();
    tour.Play(solved.moves[2]);
    ScriptedHost fail;
    fail.tickStep = 1;
    EXPECT_FALSE(RunSolve(tour, fail, false, 0).found);
    EXPECT_EQ(tour.firstDoubtfulMove, 1);
    EXPECT_EQ(tour.errorCount, 2);
    ScriptedHost plenty;
    EXPECT_TRUE(RunSolve(tour, plenty, false, Unlimited).found);
    EXPECT_EQ(tour.firstDoubtfulMove, NoMark);
    EXPECT_EQ(tour.errorCount, 2);
}

TEST(TourSearchTest, KeyPressCancelsAtTheNextBackUpOnly) {
    // A search that goes straight to a tour ignores the key press it consumed.
    TourState straight;
    straight.Play({0, 0});
    ScriptedHost pressed;
    pressed.cancelAtPoll = 1;
    EXPECT_TRUE(RunSolve(straight, pressed, true, Unlimited).found);

    TourState tour = BackingUpPosition(1);
    ScriptedHost host;
    host.cancelAtPoll = 1;
    const Outcome outcome = RunSolve(tour, host, false, Unlimited);
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.stats.backups, 0u);
    EXPECT_EQ(host.tickReads, 1u);  // a cancelled search does not read the clock to stop
    EXPECT_EQ(tour.firstDoubtfulMove, 1);
    EXPECT_EQ(tour.firstLostMove, NoMark);
    EXPECT_EQ(tour.errorCount, 1);
    EXPECT_EQ(host.endCalls, 1u);
}

TEST(TourSearchTest, ClockWrapAndTickZeroDoNotDisturbTheBudget) {
    const auto backupsWith = [](uint32_t startTick) {
        TourState tour = BackingUpPosition(0);
        ScriptedHost host;
        host.tick = startTick;
        host.tickStep = 1;
        const Outcome outcome = RunSolve(tour, host, true, 1000);
        EXPECT_TRUE(outcome.found) << startTick;
        return outcome.stats.backups;
    };
    const uint64_t usual = backupsWith(5000);
    ASSERT_GT(usual, 1u);
    EXPECT_EQ(backupsWith(0xFFFFFFFFu - 2), usual);
    EXPECT_EQ(backupsWith(0), usual);  // a search may start in the millisecond the tick reads 0

    // Over budget, a search that started at tick 0 is doubtful, not lost.
    TourState tour = BackingUpPosition(1);
    ScriptedHost host;
    host.tick = 0;
    host.tickStep = 10;
    EXPECT_FALSE(RunSolve(tour, host, false, 5).found);
    EXPECT_EQ(tour.firstLostMove, NoMark);
    EXPECT_EQ(tour.firstDoubtfulMove, 1);
}

TEST(TourSearchTest, LastSquareNeedsOnlyAKnightsMove) {
    TourState solved;
    solved.Play({0, 0});
    ScriptedHost host;
    ASSERT_TRUE(RunSolve(solved, host, true, Unlimited).found);

    // 63 squares of the tour: the 64th is a knight's move away and is placed without a degree.
    TourState tour;
    for (int i = 0; i < 63; ++i) {
        tour.Play(solved.moves[i]);
    }
    ScriptedHost last;
    EXPECT_TRUE(RunSolve(tour, last, false, 0).found);
    EXPECT_EQ(tour.searchPath[63], solved.moves[63]);

    // Starting one square later leaves the tour's first square out of reach at the end.
    ASSERT_FALSE(AreKnightMoveApart(solved.moves[0], solved.moves[63]));
    TourState shifted;
    for (int i = 1; i < 64; ++i) {
        shifted.Play(solved.moves[i]);
    }
    shifted.firstLostMove = NoMark;  // judge the search, not the dead-end test of Play
    ScriptedHost lost;
    EXPECT_FALSE(RunSolve(shifted, lost, false, 1000).found);
    EXPECT_EQ(shifted.firstLostMove, 62);
}

}  // namespace
}  // namespace saltor
