// The fast search against the independent oracles, one loop over positions. Without its cuts it
// must do exactly what the plain reference does: same tour, marks, counters, squares placed,
// clock reads and polls, whatever the clock and the input do. With them it must reach the same
// verdict and tour wherever the reference decides, never with more work, and agree with trying
// every path; a cut must never drop a position that has a path on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/knight_bits.h"
#include "engine/tour_cuts.h"
#include "engine/tour_prover.h"
#include "engine/tour_search.h"
#include "reference/case_file.h"
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
        set |= uint64_t{visits[i] >= 0} << i;
    }
    return set;
}

// A position given by its visited squares and the knight's, as no game need have reached it.
TourState Leftover(uint64_t visited, int knight) {
    TourState tour;
    for (int i = 0; i < 64; ++i) {
        if ((visited >> i & 1) != 0 && i != knight) {
            tour.visits[i] = tour.moveCount;
            tour.moves[tour.moveCount++] = SquareAt(i);
        }
    }
    tour.visits[knight] = tour.moveCount;
    tour.moves[tour.moveCount++] = SquareAt(knight);
    return tour;
}

// Unvisited squares in one box of 3 x 4 or 4 x 3, where every square has two knight neighbours
// in its box, or in two such boxes at either edge of the board: leftovers with no dead end,
// connected or split; or a few squares anywhere, one alone included. The knight stands mostly
// beside them.
TourState RandomLeftover(TestRandom& random) {
    uint64_t open = 0;
    const int boxes = random.Below(3);
    for (int box = 0; box < boxes; ++box) {
        const int width = 3 + random.Below(2), height = 7 - width;
        const int left = boxes == 1 ? random.Below(9 - width) : box * (8 - width);
        const int bottom = random.Below(9 - height);
        for (int column = left; column < left + width; ++column) {
            for (int row = bottom; row < bottom + height; ++row) {
                open |= uint64_t{1} << IndexOf({column, row});
            }
        }
    }
    for (int n = boxes == 0 ? 1 + random.Below(17) : 0; n > 0; --n) {
        open |= uint64_t{1} << random.Below(64);
    }
    int knight;
    do {
        knight = random.Below(64);
    } while ((open >> knight & 1) != 0 ||
             (random.Below(4) != 0 && (knight_bits::KnightMoves[knight] & open) == 0));
    return Leftover(~open, knight);
}

// The path keeps the position's moves and goes on by knight moves over every other square once.
bool CompletesTour(const TourState& position, const std::array<Square, 64>& path) {
    const int n = position.moveCount;
    return std::equal(path.begin(), path.begin() + n, position.moves.begin()) &&
           FinishesTour(VisitedSet(position.visits), path[n - 1], &path[n], 64 - n);
}

using Tally = std::map<std::string, int>;  // how often each kind of case came up

// Without cuts, under a scripted clock and input: the reference's every step.
void CompareWithReference(const TourState& position, bool complete, bool unlimited,
                          TestRandom& random, Tally& tally) {
    ScriptedHost fastHost, referenceHost;
    // The clock advances once per back-up, so the budget is a number of back-ups; starts near
    // the top of the range make the tick wrap during the search.
    const uint32_t budget = unlimited ? 0xFFFFFFFFu : random.Below(400);
    const int startKind = random.Below(4);
    const uint32_t start = startKind == 0   ? 0u
                           : startKind == 1 ? 0xFFFFFFFFu - random.Below(300)
                                            : random.Next();
    const uint32_t step = 1 + random.Below(3);
    const uint64_t cancelAt = random.Below(4) == 0 ? 1 + random.Below(200) : 0;
    for (ScriptedHost* host : {&fastHost, &referenceHost}) {
        host->tick = start;
        host->tickStep = step;
        host->cancelAtPoll = cancelAt;
    }
    TourState fastTour = position, referenceTour = position;
    TourSearch fast(fastTour, fastHost, SearchCuts::None());
    reference::ReferenceSearch plain(referenceTour, referenceHost);
    const bool found = fast.Solve(complete, budget);
    ASSERT_EQ(found, plain.Solve(complete, budget));
    EXPECT_EQ(std::tuple(fastTour.visits, fastTour.moves, fastTour.searchPath),
              std::tuple(referenceTour.visits, referenceTour.moves, referenceTour.searchPath));
    const auto marks = [](const TourState& t) {
        return std::tuple(t.moveCount, t.firstDoubtfulMove, t.firstLostMove, t.searchDepth,
                          t.movesPlayed, t.errorCount, t.searchStartTick, t.searchRunning);
    };
    EXPECT_EQ(marks(fastTour), marks(referenceTour));
    EXPECT_EQ(
        std::tuple(fast.Stats().squaresPlaced, fast.Stats().backups, fastHost.tickReads,
                   fastHost.polls, fastHost.busyCalls, fastHost.endCalls),
        std::tuple(plain.Stats().squaresPlaced, plain.Stats().backups, referenceHost.tickReads,
                   referenceHost.polls, referenceHost.busyCalls, referenceHost.endCalls));
    if (unlimited && found) {  // every start has a tour; only d1, d4 and g2 back up on the way
        const int start = IndexOf(position.moves[0]);
        EXPECT_EQ(fast.Stats().backups > 0, start == 24 || start == 27 || start == 49) << start;
    }
    if (fastHost.endCalls == 0) {
        ++tally["trivial"];
    } else if (found) {
        ++tally["found"];
        EXPECT_TRUE(CompletesTour(position, fastTour.searchPath));
    } else {
        ++tally[fastTour.firstLostMove == position.moveCount - 1 ? "lost" : "stopped"];
    }
}

// The cuts alone, the game's mix of a look in the plain order and the prover, and the prover
// from the first square on, so that it decides every position and walks every tour.
SearchCuts Cuts(int round) {
    SearchCuts cuts;
    if (round % 2 == 0) {
        cuts.rememberAfterBackups = 0;  // so that the table is at work in short searches too
    }
    if (round % 3 != 1) {
        cuts.proveAfterSquares = cuts.walkLookSquares = round % 3 == 0 ? 0 : 1;
    }
    return cuts;
}

// With the cuts: the same verdict as the reference and as trying every path, and the same tour.
void CompareCutsWithOracles(const TourState& position, bool complete, SearchCuts cuts,
                            Tally& tally) {
    TourState pruned = position, plain = position;
    SquareCountingHost prunedHost, plainHost;
    TourSearch search(pruned, prunedHost, cuts);
    const bool prunedFound = search.Solve(complete, 200'000);
    const bool plainFound = reference::ReferenceSearch(plain, plainHost).Solve(complete, 2000);
    const bool prunedDecided = prunedFound || pruned.firstLostMove < pruned.moveCount;
    if (plainFound || plain.firstLostMove < plain.moveCount) {
        ++tally["decided by both"];
        ASSERT_EQ(prunedFound, plainFound);
        EXPECT_EQ(std::tuple(pruned.moves, pruned.visits, pruned.moveCount,
                             pruned.firstDoubtfulMove, pruned.firstLostMove, pruned.errorCount),
                  std::tuple(plain.moves, plain.visits, plain.moveCount, plain.firstDoubtfulMove,
                             plain.firstLostMove, plain.errorCount));
        if (plainFound) {
            EXPECT_EQ(pruned.searchPath, plain.searchPath);
        }
        if (cuts.proveAfterSquares == 0) {
            // Cuts only drop branches: never more work for the same answer.
            EXPECT_LE(prunedHost.squares, plainHost.squares);
        }
    } else if (prunedDecided) {
        ++tally["decided by the cuts only"];
    }
    const int left = 64 - position.moveCount;
    if (position.moveCount < 2 || left < 2) {
        return;
    }
    const Square knight = position.moves[position.moveCount - 1];
    if (left <= 24) {  // small enough to try every path without the end rule
        const Cut cut = CannotComplete(VisitedSet(position.visits), IndexOf(knight));
        const Completion plainTruth =
            reference::CanComplete(position.visits, knight, 2'000'000, false);
        ASSERT_NE(plainTruth, Completion::Unknown);
        EXPECT_TRUE(cut == Cut::None || plainTruth == Completion::Impossible);
        ++tally["cut " + std::to_string(static_cast<int>(cut))];
    }
    if (!prunedDecided) {
        return;
    }
    // A "lost" is always checked; a tour only where trying every path is quick.
    const Completion truth = prunedFound && left > 24
                                 ? Completion::Unknown
                                 : reference::CanComplete(position.visits, knight, 1'000'000);
    if (truth != Completion::Unknown) {
        ++tally[prunedFound ? "found, confirmed" : "lost, confirmed"];
        ++tally[search.Stats().proofs > 0 ? "proved" : "looked"];
        ASSERT_EQ(prunedFound, truth == Completion::Possible);
    }
    if (prunedFound) {
        ASSERT_TRUE(CompletesTour(position, pruned.searchPath));
        // Every position along a tour has a path onwards: the rest of that tour.
        uint64_t visited = VisitedSet(position.visits);
        for (int i = position.moveCount; i < 63; ++i) {
            visited |= uint64_t{1} << IndexOf(pruned.searchPath[i]);
            ASSERT_EQ(CannotComplete(visited, IndexOf(pruned.searchPath[i])), Cut::None) << i;
        }
    }
}

// Positions of play that the search finds lost only after searching (1,000 to 40,000 squares
// placed); random positions are nearly always settled at the first look.
TEST(SearchTest, AgreesWithTheReferenceAndWithTryingEveryPath) {
    TestRandom random(2024);
    Tally tally;
    const std::vector<CaseLine> deep =
        ReadCases(std::string(SALTOR_TEST_DATA_DIR) + "/deep_lost.txt");
    ASSERT_GT(deep.size(), 10u);
    constexpr int Rounds = 4000;
    for (int round = 0; round < Rounds + static_cast<int>(deep.size()) && !HasFailure(); ++round) {
        TourState tour;
        const int kind = round < 64 ? 0 : round >= Rounds ? 1 : 2 + random.Below(5);
        if (kind == 0) {
            tour.Play(SquareAt(round));  // every start, where only d1, d4 and g2 back up
        } else if (kind == 1) {
            tour = PositionOf(deep[round - Rounds].text);
        } else if (kind <= 4) {
            tour = RandomLeftover(random);
        } else {
            // Human-like play mostly reaches the end game; random play soon leaves a dead end that
            // Play already marks, so most of those rounds step back before it, or forget the
            // mark, so that the search itself has to find out.
            if (kind == 5) {
                PlayHumanLike(tour, random, 30 + random.Below(33));
            } else {
                PlayRandomly(tour, random, 2 + random.Below(55));
                while (random.Below(10) != 0 && tour.firstLostMove != NoMark &&
                       tour.moveCount > 2) {
                    tour.TakeBack();
                }
            }
            if (random.Below(4) == 0) {
                tour.firstLostMove = NoMark;
            }
            // Marks and errors of earlier searches carry over.
            if (random.Below(3) == 0 && tour.moveCount > 1) {
                tour.firstDoubtfulMove = random.Below(tour.moveCount);
                tour.errorCount = random.Below(5);
            }
        }
        SCOPED_TRACE("round " + std::to_string(round) + ": " + [&] {
            const std::wstring text = EncodeTour(tour);
            return std::string(text.begin(), text.end());
        }());
        const bool complete = kind == 0 || random.Below(3) == 0;
        CompareWithReference(tour, complete, kind == 0, random, tally);
        CompareCutsWithOracles(tour, complete, Cuts(round), tally);
    }
    // Every kind of ending and every cut rule does real work here, and the cuts decide many
    // positions that the plain search leaves open.
    for (const auto& [what, least] : std::map<std::string, int>{{"trivial", 200},
                                                                {"found", 500},
                                                                {"lost", 700},
                                                                {"stopped", 500},
                                                                {"decided by both", 1700},
                                                                {"decided by the cuts only", 240},
                                                                {"found, confirmed", 480},
                                                                {"lost, confirmed", 1300},
                                                                {"proved", 200},
                                                                {"cut 1", 250},
                                                                {"cut 2", 400},
                                                                {"cut 3", 20},
                                                                {"cut 4", 6},
                                                                {"cut 5", 110}}) {
        EXPECT_GE(tally[what], least) << what;
    }
}

// The prover alone, on leftovers and on positions of random and human-like play: the verdict
// of trying every path wherever that settles, and a real rest of a tour whenever it finds one.
TEST(SearchTest, TheProverAgreesWithTryingEveryPath) {
    TestRandom random(77);
    Tally tally;
    for (int round = 0; round < 1500 && !HasFailure(); ++round) {
        TourState tour;
        if (round % 3 == 0) {
            tour = RandomLeftover(random);
        } else if (round % 3 == 1) {
            PlayHumanLike(tour, random, 20 + random.Below(43));
        } else {
            PlayRandomly(tour, random, 2 + random.Below(40));
        }
        const Square knight = tour.moves[tour.moveCount - 1];
        const uint64_t visited = VisitedSet(tour.visits);
        std::array<int8_t, 64> path{};
        const Proof proof = TourProver([] { return false; }).Prove(visited, IndexOf(knight), path);
        ASSERT_NE(proof, Proof::Stopped);
        const Completion truth = reference::CanComplete(tour.visits, knight, 100'000);
        if (truth != Completion::Unknown) {
            ASSERT_EQ(proof == Proof::Found, truth == Completion::Possible) << round;
            ++tally[proof == Proof::Found ? "found, confirmed" : "lost, confirmed"];
        }
        if (proof == Proof::Found) {
            std::array<Square, 64> rest{};
            std::transform(path.begin() + 1, path.begin() + 65 - tour.moveCount, rest.begin(),
                           SquareAt);
            ASSERT_EQ(path[0], IndexOf(knight));
            ASSERT_TRUE(FinishesTour(visited, knight, rest.data(), 64 - tour.moveCount)) << round;
        }
    }
    EXPECT_GE(tally["found, confirmed"], 400);
    EXPECT_GE(tally["lost, confirmed"], 800);
    // Asked to stop, it stops at its first choice.
    TourState d4;
    d4.Play({3, 3});
    std::array<int8_t, 64> path{};
    EXPECT_EQ(TourProver([] { return true; }).Prove(VisitedSet(d4.visits), 27, path),
              Proof::Stopped);
}

// Positions of strong play, kept alive or just after a mistake, that the plain order needs
// 100,000 to 1,000,000 squares for even with its cuts: the prover must give the same verdict
// and walk the plain order's tour, whether it takes over at once or after a look, settling each
// in a few hundred choices. Once the prover has found a tour, a walk cut short by time keeps
// that verdict and gives a real tour.
TEST(SearchTest, TheProverDecidesStrongPlayAsThePlainOrderDoes) {
    const std::vector<CaseLine> cases =
        ReadCases(std::string(SALTOR_TEST_DATA_DIR) + "/strong_play.txt");
    int positions = 0, proved = 0;
    bool walked = false;  // by the last search: a second proof means the first found a tour
    for (const auto& [line, where] : cases) {
        SCOPED_TRACE(where + ": " + line);
        ++positions;
        const TourState position = PositionOf(line);
        const auto judge = [&](uint64_t proveAfter, bool complete, uint32_t budget) {
            SearchCuts cuts;
            cuts.proveAfterSquares = proveAfter;
            if (proveAfter <= 1) {
                cuts.walkLookSquares = proveAfter;
            }
            TourState tour = position;
            SquareCountingHost host;
            TourSearch search(tour, host, cuts);
            const bool found = search.Solve(complete, budget);
            if (budget == 0xFFFFFFFFu) {
                proved += search.Stats().proofs > 0;
            }
            if (proveAfter == 1 && budget == 0xFFFFFFFFu) {
                EXPECT_LE(search.Stats().choices, 1000u);  // about 550 at most
            }
            walked = search.Stats().proofs > 1;
            // Where there is no tour, the path is only what the search tried last.
            return std::tuple(found, tour.firstLostMove, tour.moves,
                              found ? tour.searchPath : std::array<Square, 64>{});
        };
        const bool complete = positions % 2 == 0;
        const auto plainOrder = judge(0, complete, 0xFFFFFFFFu);
        EXPECT_EQ(judge(1, complete, 0xFFFFFFFFu), plainOrder);
        EXPECT_EQ(judge(SearchCuts{}.proveAfterSquares, complete, 0xFFFFFFFFu), plainOrder);
        for (uint32_t budget = 100; budget < 3000; budget += 100) {
            const auto [found, lostAt, moves, path] = judge(1, true, budget);
            EXPECT_TRUE(found || !walked) << budget;
            if (found) {
                EXPECT_TRUE(std::get<0>(plainOrder));
                EXPECT_TRUE(CompletesTour(position, path));
                EXPECT_EQ(moves, path);
            } else if (lostAt != NoMark) {
                EXPECT_FALSE(std::get<0>(plainOrder));
            }
        }
    }
    EXPECT_GE(positions, 10);
    EXPECT_EQ(proved, 2 * positions);
}

// Under a closed tour or a chosen arrival: the plain order without cuts, the prover at once and
// the game's mix against trying every path told the challenge; the same tour, which meets it.
// The challenge's own cuts are at work (a wrong one would turn a verdict).
TEST(SearchTest, ChallengesAgreeWithTryingEveryPath) {
    TestRandom random(26);
    Tally tally;
    for (int round = 0; round < 600 && !HasFailure(); ++round) {
        TourState tour = RandomLeftover(random);
        if (round % 3 != 0) {
            PlayHumanLike(tour, random, 36 + random.Below(27));
        }
        tour.challenge = {round % 2 == 0 ? TourKind::Closed : TourKind::Arrival,
                          SquareAt(random.Below(64))};
        const uint64_t ends = AllowedLastSquares(tour.challenge, tour.moves[0]);
        const Square knight = tour.moves[tour.moveCount - 1];
        const Completion truth = reference::CanComplete(tour.visits, knight, 200'000, true, ends);
        ++tally["cut " + std::to_string(
                             int(CannotComplete(VisitedSet(tour.visits), IndexOf(knight), ends)))];
        std::vector<std::array<Square, 64>> tours;
        for (const SearchCuts cuts :
             {SearchCuts::None(), SearchCuts{true, 0, 1, 1}, SearchCuts{}}) {
            TourState judged = tour;
            SquareCountingHost host;
            const bool found = TourSearch(judged, host, cuts).Solve(true, 20'000);
            if (truth != Completion::Unknown && (found || judged.firstLostMove != NoMark)) {
                ASSERT_EQ(found, truth == Completion::Possible) << round;
                ++tally[found ? "found, confirmed" : "lost, confirmed"];
            }
            if (found) {
                ASSERT_TRUE(CompletesTour(tour, judged.moves) &&
                            MeetsChallenge(tour.challenge, judged.moves))
                    << round;
                ASSERT_TRUE(tours.empty() || tours[0] == judged.moves) << round;
                tours.push_back(judged.moves);
            }
        }
    }
    EXPECT_GE(tally["found, confirmed"], 120);
    EXPECT_GE(tally["lost, confirmed"], 1200);
    EXPECT_GE(std::min({tally["cut 7"], tally["cut 8"], tally["cut 10"]}), 10);  // the challenge's
}

}  // namespace
}  // namespace saltor
