#include <gtest/gtest.h>

#include "engine/tour_state.h"
#include "reference/tour_checks.h"

namespace saltor {
namespace {

int CountLegal(const TourState& tour) {
    int count = 0;
    for (int i = 0; i < 64; ++i) {
        count += tour.IsLegal(SquareAt(i)) ? 1 : 0;
    }
    return count;
}

// A knight's tour from a1 (a1, b3, a5, b7, ...), as column-major square indices.
constexpr int KnownTour[64] = {0,  10, 4,  14, 31, 46, 63, 53, 47, 62, 52, 58, 48, 33, 16, 1,
                               11, 5,  15, 21, 6,  23, 38, 55, 61, 51, 57, 40, 25, 8,  2,  17,
                               32, 42, 59, 49, 34, 24, 9,  3,  18, 12, 27, 44, 29, 19, 36, 26,
                               41, 56, 50, 35, 20, 30, 13, 7,  22, 28, 43, 37, 54, 39, 45, 60};

TEST(TourStateTest, LegalityFollowsTheKnight) {
    TourState tour;
    EXPECT_EQ(CountLegal(tour), 64);
    EXPECT_FALSE(tour.IsLegal({8, 0}));
    EXPECT_FALSE(tour.IsLegal({0, -1}));

    tour.Play({0, 0});
    EXPECT_EQ(CountLegal(tour), 2);
    EXPECT_TRUE(tour.IsLegal({1, 2}));
    EXPECT_TRUE(tour.IsLegal({2, 1}));

    tour.Reset();
    tour.Play({3, 3});
    EXPECT_EQ(CountLegal(tour), 8);

    // A visited square is never legal again, even a knight's move away.
    tour.Play({1, 2});
    tour.Play({3, 1});
    EXPECT_FALSE(tour.IsLegal({1, 2}));
    EXPECT_TRUE(tour.IsLegal({2, 3}));
    EXPECT_EQ(tour.visits[IndexOf({1, 2})], 1);
    EXPECT_TRUE(IsNoSquare(tour.moves[3]));

    // Squares off the board are ignored, not played.
    tour.Play({-1, 3});
    tour.Play({2, 8});
    EXPECT_EQ(tour.moveCount, 3);
    EXPECT_EQ(tour.movesPlayed, 3);
}

TEST(TourStateTest, DeadEndIsMarkedOnceAndOnlyBeforeTheLastSquares) {
    TourState tour;
    // b3, d4, c2: the corner a1 keeps no unvisited neighbour.
    tour.Play({1, 2});
    tour.Play({3, 3});
    EXPECT_EQ(tour.firstLostMove, NoMark);
    tour.Play({2, 1});
    EXPECT_EQ(tour.firstLostMove, 2);
    tour.Play({4, 0});
    EXPECT_EQ(tour.firstLostMove, 2);  // a later move never moves the mark

    // Taking back a later move keeps the mark, taking back the marked move clears it.
    tour.firstDoubtfulMove = 3;
    tour.TakeBack();
    EXPECT_EQ(tour.firstDoubtfulMove, NoMark);
    EXPECT_EQ(tour.firstLostMove, 2);
    tour.TakeBack();
    EXPECT_EQ(tour.firstLostMove, NoMark);
    EXPECT_EQ(tour.movesPlayed, 6);
}

TEST(TourStateTest, WholeTourEndsAtTheSentinel) {
    TourState tour;
    for (int i = 0; i < 63; ++i) {
        ASSERT_TRUE(tour.IsLegal(SquareAt(KnownTour[i]))) << i;
        tour.Play(SquareAt(KnownTour[i]));
    }
    // The last square is cut off now, but index 62 is never judged a dead end.
    EXPECT_TRUE(HasIsolatedSquare(tour.visits));
    EXPECT_EQ(tour.firstLostMove, NoMark);
    EXPECT_EQ(tour.moveCount, 63);

    tour.Play(SquareAt(KnownTour[63]));
    EXPECT_EQ(tour.moveCount, TourComplete);
    EXPECT_EQ(CountLegal(tour), 0);
    EXPECT_TRUE(IsKnightsTour(tour.moves));

    // Nothing more can be played or taken back on a complete tour.
    const TourState before = tour;
    tour.Play({0, 0});
    tour.TakeBack();
    EXPECT_EQ(tour.moveCount, TourComplete);
    EXPECT_EQ(tour.movesPlayed, before.movesPlayed);
}

TEST(TourStateTest, TakeBackOnEmptyBoardResetsCounters) {
    TourState tour;
    tour.Play({0, 0});
    tour.errorCount = 3;
    tour.TakeBack();
    EXPECT_EQ(tour.moveCount, 0);
    EXPECT_EQ(tour.movesPlayed, 2);
    EXPECT_EQ(tour.errorCount, 3);
    EXPECT_EQ(tour.visits[0], -1);
    tour.TakeBack();
    EXPECT_EQ(tour.movesPlayed, 0);
    EXPECT_EQ(tour.errorCount, 0);
}

}  // namespace
}  // namespace saltor
