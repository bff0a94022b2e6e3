// The search's cuts: they only drop branches that hold no tour, so the pruned search meets the
// same first tour as the plain reference wherever that one reaches a verdict, and its "lost" is
// always true.
#include <gtest/gtest.h>

#include <bit>
#include <iterator>
#include <map>

#include "engine/knight_bits.h"
#include "engine/tour_cuts.h"
#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "reference/exhaustive_search.h"
#include "reference/reference_search.h"
#include "reference/scripted_host.h"
#include "reference/tour_checks.h"

namespace saltor {
namespace {

using reference::Completion;

uint64_t VisitedSet(const VisitBoard& visits) {
    uint64_t set = 0;
    for (int i = 0; i < 64; ++i) {
        if (visits[i] >= 0) {
            set |= uint64_t{1} << i;
        }
    }
    return set;
}

VisitBoard BoardOf(uint64_t visited) {
    VisitBoard board;
    for (int i = 0; i < 64; ++i) {
        board[i] = (visited >> i & 1) != 0 ? 0 : -1;
    }
    return board;
}

// Every position along a tour has a path onwards: the rest of that tour.
TEST(TourCutsTest, KeepEveryPositionAlongATour) {
    TestRandom random(5);
    int tours = 0;
    for (int round = 0; round < 1500; ++round) {
        TourState tour;
        PlayHumanLike(tour, random, 1 + random.Below(20));
        SquareCountingHost host;
        if (!TourSearch(tour, host).Solve(true, 20'000)) {
            continue;
        }
        ++tours;
        uint64_t visited = 0;
        for (int i = 0; i < 63; ++i) {
            visited |= uint64_t{1} << IndexOf(tour.moves[i]);
            ASSERT_EQ(CannotComplete(visited, IndexOf(tour.moves[i])), Cut::None)
                << "round " << round << " after " << i + 1 << " squares";
        }
    }
    EXPECT_GT(tours, 1000);
}

// Unvisited squares in one box of 3 x 4 or 4 x 3, where every square has two knight neighbours
// in its box, or in two such boxes at either edge of the board: leftovers with no dead end,
// connected or split.
uint64_t RandomBoxes(TestRandom& random) {
    uint64_t open = 0;
    const int boxes = 1 + random.Below(2);
    for (int box = 0; box < boxes; ++box) {
        const int width = random.Below(2) == 0 ? 3 : 4, height = 7 - width;
        const int left = boxes == 1 ? random.Below(9 - width) : box * (8 - width);
        const int bottom = random.Below(9 - height);
        for (int column = left; column < left + width; ++column) {
            for (int row = bottom; row < bottom + height; ++row) {
                open |= uint64_t{1} << IndexOf({column, row});
            }
        }
    }
    return ~open;
}

// Small leftovers, from play, from arbitrary sets of squares and from boxes (with the knight
// anywhere among the visited squares), each checked against trying every path.
TEST(TourCutsTest, RejectOnlyWhatHasNoPath) {
    TestRandom random(7);
    int impossible = 0, possible = 0;
    std::map<Cut, int> cuts;
    for (int round = 0; round < 4000; ++round) {
        uint64_t visited;
        int knight;
        if (round % 3 == 0) {
            TourState tour;
            PlayHumanLike(tour, random, 40 + random.Below(21));
            if (tour.IsComplete()) {
                continue;
            }
            visited = VisitedSet(tour.visits);
            knight = IndexOf(tour.moves[tour.moveCount - 1]);
        } else {
            if (round % 3 == 1) {
                visited = ~uint64_t{0};
                for (int open = 2 + random.Below(16); open > 0; --open) {
                    visited &= ~(uint64_t{1} << random.Below(64));
                }
            } else {
                visited = RandomBoxes(random);
            }
            // Beside the leftovers, mostly, so that the knight can at least step in.
            do {
                knight = random.Below(64);
            } while ((visited >> knight & 1) == 0 ||
                     (random.Below(4) != 0 && (knight_bits::KnightMoves[knight] & ~visited) == 0));
        }
        const Completion truth =
            reference::CanComplete(BoardOf(visited), SquareAt(knight), 10'000'000, false);
        ASSERT_NE(truth, Completion::Unknown);
        const Cut cut = CannotComplete(visited, knight);
        if (cut != Cut::None) {
            ++cuts[cut];
            ASSERT_EQ(truth, Completion::Impossible)
                << "visited " << std::hex << visited << std::dec << " knight " << knight;
        }
        impossible += truth == Completion::Impossible;
        possible += truth == Completion::Possible;
    }
    // Every rule does real work here: none of them stays silent.
    for (const Cut cut : {Cut::NoWayOn, Cut::TwoLastSquares, Cut::LastSquareColour,
                          Cut::ForcedThrough, Cut::Split}) {
        EXPECT_GT(cuts[cut], 20) << static_cast<int>(cut);
    }
    EXPECT_GT(possible, 500);
}

// The same search outcome, move for move and mark for mark.
void ExpectSameVerdict(const TourState& position, bool complete, uint32_t squareBudget,
                       const SearchCuts& cuts, int& decidedByBoth, int& decidedByPrunedOnly) {
    TourState pruned = position, plain = position;
    SquareCountingHost prunedHost, plainHost;
    const bool prunedFound = TourSearch(pruned, prunedHost, cuts).Solve(complete, squareBudget);
    const bool plainFound =
        reference::ReferenceSearch(plain, plainHost).Solve(complete, squareBudget);
    const bool prunedDecided = prunedFound || pruned.firstLostMove < pruned.moveCount;
    const bool plainDecided = plainFound || plain.firstLostMove < plain.moveCount;
    if (prunedFound && position.moveCount >= 1 && !position.IsComplete()) {
        ASSERT_TRUE(IsKnightsTour(pruned.searchPath));
        for (int i = 0; i < position.moveCount; ++i) {
            ASSERT_EQ(pruned.searchPath[i], position.moves[i]);
        }
    }
    if (!plainDecided) {
        decidedByPrunedOnly += prunedDecided;
        return;
    }
    ++decidedByBoth;
    ASSERT_TRUE(prunedDecided);
    ASSERT_EQ(prunedFound, plainFound);
    EXPECT_EQ(pruned.firstDoubtfulMove, plain.firstDoubtfulMove);
    EXPECT_EQ(pruned.firstLostMove, plain.firstLostMove);
    EXPECT_EQ(pruned.errorCount, plain.errorCount);
    EXPECT_EQ(pruned.moveCount, plain.moveCount);
    EXPECT_EQ(pruned.moves, plain.moves);
    EXPECT_EQ(pruned.visits, plain.visits);
    if (plainFound) {
        EXPECT_EQ(pruned.searchPath, plain.searchPath);
    }
    // Never more work than the plain search for the same answer.
    EXPECT_LE(prunedHost.squares, plainHost.squares);
}

TEST(SearchPruningTest, MeetsTheSameToursAsThePlainSearch) {
    int both = 0, prunedOnly = 0;
    for (int index = 0; index < 64; ++index) {
        TourState tour;
        tour.Play(SquareAt(index));
        SCOPED_TRACE(index);
        ExpectSameVerdict(tour, true, 0xFFFFFFFFu, {}, both, prunedOnly);
    }
    EXPECT_EQ(both, 64);

    TestRandom random(31);
    for (int round = 0; round < 10'000 && !HasFailure(); ++round) {
        TourState tour;
        if (round % 2 == 0) {
            PlayRandomly(tour, random, 2 + random.Below(55));
            // Positions the model already marks lost are answered without a search.
            while (tour.firstLostMove != NoMark && tour.moveCount > 2) {
                tour.TakeBack();
            }
        } else {
            PlayHumanLike(tour, random, 2 + random.Below(61));
        }
        SCOPED_TRACE(round);
        // Half of the searches remember lost positions from the start, so that the table is at
        // work in these short searches too.
        SearchCuts cuts;
        cuts.rememberAfterBackups = round % 4 < 2 ? 0 : cuts.rememberAfterBackups;
        ExpectSameVerdict(tour, random.Below(4) == 0, 1000, cuts, both, prunedOnly);
    }
    // Both kinds of position occur in numbers, and the cuts decide many that the plain search
    // leaves open.
    EXPECT_GT(both, 5000) << both;
    EXPECT_GT(prunedOnly, 1000) << prunedOnly;
}

// Positions of random and human-like play that the search finds lost only after searching (1,000
// to 40,000 squares placed); random positions are nearly always settled at the first look.
constexpr const wchar_t* DeepLostPositions[] = {
    L"C5;A4;B2;C4;B6;D5;B4;A2;C3;E4;G5;E6;D4;C6;E7;F5;D6;C8;A7",
    L"G7;F5;H4;G2;E3;G4;F6;E4;C3;E2;D4;B5;D6;C4;E5",
    L"H1;G3;F1;H2;G4;F2;H3;F4;G6;F8;D7;B8;A6;B4;D3;B2;D1;E3;G2;H4;F5;D6;B7;D8",
    L"F4;G2;H4;G6;H8;F7;D8;B7;D6;B5;A3;C4;B2;D3;C5;E6;C7;E8;G7",
    L"D3;E5;G6;H8;F7;G5;F3;H4;F5;E3;D5;B4;C6;D4;B3;C1;A2;C3;A4",
    L"G2;F4;G6;H8;F7;E5;C6;E7;C8;A7;B5;A3;C2;E3;C4;B2;D3",
    L"E2;C3;A2;C1;B3;A1;C2;A3;B1;D2;F1;H2;G4;H6;F7;H8;G6;F8;D7;B8;A6;C5;A4;B2;D1;E3;G2;F4;H3;F2;H1;"
    L"G3",
    L"F2;H1;G3;H5;G7;E8;C7;A6;B4;D3;B2;D1;E3;F1;H2;G4;H6;G8;F6;H7;F8;D7;B8;C6;D4;F5;E7;C8;A7;B5;A3;"
    L"C2",
    L"H2;G4;F2;H3;G1;E2;F4;E6;G5;H7;F8;G6;H8;F7;D6;B5;C3;A2;B4;C2",
    L"G1;F3;H2;G4;E5;D7;B8;A6;C7;A8;B6;C8;A7;B5;A3;B1;C3;A4;B2;C4;D2;F1;G3;E4;G5;F7;H8;G6;F8;H7",
    L"D1;B2;A4;B6;A8;C7;A6;B8;D7;F8;G6;H8;F7;H6;G8;E7;C8;A7;B5;A3;B1;C3;E2;G1;F3;H2;F1;E3;F5;H4;G2;"
    L"E1;D3;C1;A2;B4;C6",
    L"E8;D6;B7;A5;B3;A1;C2;A3;B1;C3;B5;C7;A8;B6;C4;B2;A4;C5;D3;E1;F3;D2;E4;G5;E6;D8",
    L"D6;B7;C5;A6;C7;D5;C3;B1;D2;F3;G1;E2;F4;E6;D8",
    L"C8;A7;B5;A3;B1;D2;F1;H2;G4;H6;G8;E7;G6;H8;F7;G5;H7;F8;D7;B8;C6;D8;B7;C5;A6;B4;A2;C3;A4;B2;D1;"
    L"F2;H1;G3;H5;G7;E6;C7",
    L"B4;A2;C3;B1;A3;B5;A7;C8;B6;A4;B2;D1;F2;H1;G3;F1;H2;G4;H6;G8;F6;H5;G7;E6;F4;H3;G1;E2;C1;B3;A1;"
    L"C2;E3;G2;E1",
    L"E3;G2;F4;H3;G5;H7;F6;G4;F2;H1;G3;H5;G7;E6;F8;D7;B8;C6;D8;B7;D6",
    L"H1;G3;H5;F4;H3;G5;H7;F6;G4;F2;E4;C3;B1;D2;C4;D6;F5;E7",
    L"A7;C8;B6;A8;C7;A6;C5;A4;B2;D1;F2;H1;G3;F1;H2;G4;H6;G8;E7;G6;H8;F7;D8;B7;A5;B3;A1;C2;A3;B1;D2;"
    L"C4;E3;G2;H4;F3;E1;D3;C1",
    L"A1;B3;A5;C6;E7;F5;G3;H5;G7;E6;G5;F3;G1;H3;F4;D3;C5",
    L"B5;D6;E4;C3;A2;B4;A6;C7;A8;B6;A4;B2;D3;F4;G6;H8;F7;H6;G8;E7",
    L"H4;G2;E3;D1;C3;E4;D6;C4;A3;B1;D2;F3;G1;H3;F4;E2;C1;B3;A1;C2;E1",
    L"F8;H7;G5;F3;D2;B1;A3;C4;A5;B7;D8;F7;H8;G6;H4;G2;F4;H3;G1;E2;C3;A2;B4;A6;B8;C6;A7;C8;E7;G8;H6;"
    L"F5",
};

// Every "lost" from the judge, checked by a search written apart from the game's; the smaller
// positions also by trying every path with nothing but the reachability shortcut.
TEST(SearchPruningTest, LostMeansNoTour) {
    TestRandom random(77);
    int lost = 0, searchedDeep = 0, checkedPlainly = 0;
    constexpr int DeepCount = static_cast<int>(std::size(DeepLostPositions));
    for (int round = 0; lost < 250 + DeepCount; ++round) {
        TourState tour;
        if (round < DeepCount) {
            DecodeTour(tour, DeepLostPositions[round]);
        } else if (round % 2 == 0) {
            PlayRandomly(tour, random, 8 + random.Below(23));
        } else {
            PlayHumanLike(tour, random, 8 + random.Below(43));
        }
        if (tour.firstLostMove != NoMark || tour.moveCount < 2 || tour.IsComplete()) {
            continue;
        }
        TourState judged = tour;
        SquareCountingHost host;
        if (TourSearch(judged, host).Solve(false, 1'000'000) || judged.firstLostMove == NoMark) {
            continue;
        }
        ++lost;
        searchedDeep += host.squares > 500;
        const Square knight = tour.moves[tour.moveCount - 1];
        SCOPED_TRACE(round);
        ASSERT_EQ(reference::CanComplete(tour.visits, knight, 10'000'000), Completion::Impossible);
        if (64 - tour.moveCount <= 26) {
            ++checkedPlainly;
            ASSERT_EQ(reference::CanComplete(tour.visits, knight, 10'000'000, false),
                      Completion::Impossible);
        }
    }
    EXPECT_GE(searchedDeep, DeepCount);
    EXPECT_GT(checkedPlainly, 10);
}

}  // namespace
}  // namespace saltor
