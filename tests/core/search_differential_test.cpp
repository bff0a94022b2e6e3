// The fast search without its cuts against the plain reference: same verdicts, same tour, same
// marks and counters, same squares placed, same clock reads and polls, whatever the clock and the
// input do.
#include <gtest/gtest.h>

#include "engine/tour_search.h"
#include "reference/reference_search.h"
#include "reference/scripted_host.h"
#include "reference/tour_checks.h"

namespace saltor {
namespace {

struct Script {
    bool complete = false;
    uint32_t budget = 0;
    uint32_t startTick = 0;
    uint32_t tickStep = 0;
    uint64_t cancelAtPoll = 0;
};

void ExpectSameState(const TourState& a, const TourState& b) {
    EXPECT_EQ(a.visits, b.visits);
    EXPECT_EQ(a.moves, b.moves);
    EXPECT_EQ(a.moveCount, b.moveCount);
    EXPECT_EQ(a.firstDoubtfulMove, b.firstDoubtfulMove);
    EXPECT_EQ(a.searchPath, b.searchPath);
    EXPECT_EQ(a.searchDepth, b.searchDepth);
    EXPECT_EQ(a.movesPlayed, b.movesPlayed);
    EXPECT_EQ(a.errorCount, b.errorCount);
    EXPECT_EQ(a.searchStartTick, b.searchStartTick);
    EXPECT_EQ(a.firstLostMove, b.firstLostMove);
    EXPECT_EQ(a.searchRunning, b.searchRunning);
}

// What a run ended with, to make sure the random positions reach every kind of ending.
enum class Ending { Trivial, Found, Lost, Stopped };

Ending ExpectSameRun(const TourState& position, const Script& script, const std::string& label) {
    SCOPED_TRACE(label);
    ScriptedHost fastHost, referenceHost;
    for (ScriptedHost* host : {&fastHost, &referenceHost}) {
        host->tick = script.startTick;
        host->tickStep = script.tickStep;
        host->cancelAtPoll = script.cancelAtPoll;
    }
    TourState fastTour = position, referenceTour = position;
    TourSearch fast(fastTour, fastHost, SearchCuts::None());
    reference::ReferenceSearch plain(referenceTour, referenceHost);
    const bool fastFound = fast.Solve(script.complete, script.budget);
    const bool referenceFound = plain.Solve(script.complete, script.budget);

    EXPECT_EQ(fastFound, referenceFound);
    ExpectSameState(fastTour, referenceTour);
    EXPECT_EQ(fast.Stats().squaresPlaced, plain.Stats().squaresPlaced);
    EXPECT_EQ(fast.Stats().backups, plain.Stats().backups);
    EXPECT_EQ(fastHost.tickReads, referenceHost.tickReads);
    EXPECT_EQ(fastHost.polls, referenceHost.polls);
    EXPECT_EQ(fastHost.busyCalls, referenceHost.busyCalls);
    EXPECT_EQ(fastHost.endCalls, referenceHost.endCalls);
    if (fastFound && position.moveCount >= 1 && !position.IsComplete() &&
        (script.complete || position.moveCount >= 2)) {
        EXPECT_TRUE(IsKnightsTour(fastTour.searchPath));
    }
    if (fastHost.endCalls == 0) {
        return Ending::Trivial;
    }
    if (fastFound) {
        return Ending::Found;
    }
    return fastTour.firstLostMove == position.moveCount - 1 ? Ending::Lost : Ending::Stopped;
}

TEST(SearchDifferentialTest, AllStartsCompleteAlike) {
    for (int index = 0; index < 64; ++index) {
        TourState tour;
        tour.Play(SquareAt(index));
        ExpectSameRun(tour, {true, 0xFFFFFFFFu, 1000, 1, 0}, "start " + std::to_string(index));
        // And with budgets that stop the three starts that back up.
        ExpectSameRun(tour, {true, 3, 1000, 1, 0}, "tight start " + std::to_string(index));

        // Every start has a tour; only d1, d4 and g2 need to back up on the way.
        ScriptedHost host;
        TourSearch search(tour, host, SearchCuts::None());
        ASSERT_TRUE(search.Solve(true, 0xFFFFFFFFu));
        EXPECT_TRUE(IsKnightsTour(tour.moves));
        EXPECT_EQ(tour.searchDepth, 64);
        const bool backsUp =
            index == IndexOf({3, 0}) || index == IndexOf({3, 3}) || index == IndexOf({6, 1});
        EXPECT_EQ(search.Stats().backups > 0, backsUp) << index;
    }
}

TEST(SearchDifferentialTest, RandomPositionsUnderScriptedClocksAndInput) {
    TestRandom random(2024);
    int endings[4] = {};
    for (int round = 0; round < 3000; ++round) {
        TourState tour;
        PlayRandomly(tour, random, 2 + random.Below(49));
        // Random play soon leaves a dead end that Play already marks; most rounds step back
        // before it so that the search itself has to find out.
        while (random.Below(10) != 0 && tour.firstLostMove != NoMark && tour.moveCount > 2) {
            tour.TakeBack();
        }
        Script script;
        script.complete = random.Below(3) == 0;
        // The clock advances once per back-up, so the budget is a number of back-ups; starts
        // near the top of the range make the tick wrap during the search.
        script.tickStep = 1 + random.Below(3);
        script.budget = static_cast<uint32_t>(random.Below(400));
        const int startKind = random.Below(4);
        script.startTick = startKind == 0   ? 0u
                           : startKind == 1 ? 0xFFFFFFFFu - static_cast<uint32_t>(random.Below(300))
                                            : random.Next();
        script.cancelAtPoll = random.Below(4) == 0 ? 1 + random.Below(200) : 0;
        ++endings[static_cast<int>(ExpectSameRun(tour, script, "round " + std::to_string(round)))];
        if (HasFailure()) {
            return;  // one diverging position says enough
        }
    }
    for (const int count : endings) {
        EXPECT_GT(count, 100) << endings[0] << " " << endings[1] << " " << endings[2] << " "
                              << endings[3];
    }
}

TEST(SearchDifferentialTest, RepeatedJudgingAlongAGame) {
    // A whole game judged move by move, as the board does: marks carry over between searches.
    TestRandom random(99);
    for (int game = 0; game < 40; ++game) {
        TourState fastTour, referenceTour;
        const Square start = SquareAt(random.Below(64));
        fastTour.Play(start);
        referenceTour.Play(start);
        for (int move = 0; move < 62 && !fastTour.IsComplete(); ++move) {
            const Square next = RandomLegalMove(fastTour, random);
            if (IsNoSquare(next)) {
                break;
            }
            fastTour.Play(next);
            referenceTour.Play(next);
            ScriptedHost fastHost, referenceHost;
            fastHost.tickStep = referenceHost.tickStep = 1;
            const bool a = TourSearch(fastTour, fastHost, SearchCuts::None()).Solve(false, 200);
            const bool b =
                reference::ReferenceSearch(referenceTour, referenceHost).Solve(false, 200);
            ASSERT_EQ(a, b) << game << ":" << move;
            ExpectSameState(fastTour, referenceTour);
            if (random.Below(5) == 0) {
                fastTour.TakeBack();
                referenceTour.TakeBack();
            }
        }
        if (HasFailure()) {
            return;
        }
    }
}

}  // namespace
}  // namespace saltor
