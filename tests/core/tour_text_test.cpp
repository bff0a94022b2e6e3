#include <gtest/gtest.h>

#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "reference/scripted_host.h"

namespace saltor {
namespace {

TourState Decoded(std::wstring_view text) {
    TourState tour;
    DecodeTour(tour, text);
    return tour;
}

TEST(TourTextTest, EncodesInCapitalsWithSeparators) {
    TourState tour;
    EXPECT_EQ(EncodeTour(tour), L"");
    tour.Play({0, 0});
    tour.Play({1, 2});
    tour.Play({2, 4});
    EXPECT_EQ(EncodeTour(tour), L"A1;B3;C5");

    ScriptedHost host;
    ASSERT_TRUE(TourSearch(tour, host).Solve(true, 0xFFFFFFFFu));
    const std::wstring full = EncodeTour(tour);
    EXPECT_EQ(full.size(), 191u);
    const TourState back = Decoded(full);
    EXPECT_EQ(back.moveCount, TourComplete);
    EXPECT_EQ(back.moves, tour.moves);
}

TEST(TourTextTest, DecodingIsTolerantAndStopsAtTheFirstBadSquare) {
    const TourState three = Decoded(L"A1;B3;C5");
    EXPECT_EQ(three.moveCount, 3);
    EXPECT_EQ(three.movesPlayed, 3);
    for (const wchar_t* same : {L"a1;b3;c5", L";;a1;;b3;c5;", L"a1x;B3;c5"}) {
        EXPECT_EQ(Decoded(same).moves, three.moves) << same;
    }

    struct Case {
        const wchar_t* text;
        int kept;
    };
    for (const Case& c : {Case{L"a1;a2", 1}, Case{L"a1;b3;a1", 2}, Case{L" a1", 0}, Case{L"i1", 0},
                          Case{L"a9", 0}, Case{L"a0", 0}, Case{L"a1;b", 1}, Case{L"", 0},
                          Case{L";;;", 0}, Case{L"\u00e91", 0}, Case{L"a1;\u00c93", 1}}) {
        EXPECT_EQ(Decoded(c.text).moveCount, c.kept) << c.text;
    }

    const TourState mixed = Decoded(L"e4x;c3");
    ASSERT_EQ(mixed.moveCount, 2);
    EXPECT_EQ(mixed.moves[0], (Square{4, 3}));
    EXPECT_EQ(mixed.moves[1], (Square{2, 2}));
}

TEST(TourTextTest, DecodingReplacesWhatTheBoardHeld) {
    TourState tour;
    tour.Play({0, 0});
    ScriptedHost host;
    ASSERT_TRUE(TourSearch(tour, host).Solve(true, 0xFFFFFFFFu));
    const std::wstring full = EncodeTour(tour);

    // Whatever follows a complete tour is ignored.
    DecodeTour(tour, full + L";A1;B3");
    EXPECT_EQ(tour.moveCount, TourComplete);

    tour.errorCount = 4;
    tour.firstDoubtfulMove = 2;
    DecodeTour(tour, L"h8;g6");
    EXPECT_EQ(tour.moveCount, 2);
    EXPECT_EQ(tour.errorCount, 0);
    EXPECT_EQ(tour.firstDoubtfulMove, NoMark);
    EXPECT_EQ(tour.visits[IndexOf({7, 7})], 0);
    EXPECT_EQ(tour.visits[IndexOf({0, 0})], -1);

    // A decoded dead end is marked as Play marks it.
    EXPECT_EQ(Decoded(L"b3;d4;c2").firstLostMove, 2);
}

}  // namespace
}  // namespace saltor
