// The explanations of the marks against the judge's verdicts on tourtool's committed corpus:
// every "lost" has a reason and every "found" none, and each step of every chain is replayed on
// a board of its own here: the squares it names have the ways it says, and its reason holds.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "board/mark_text.h"
#include "engine/knight_bits.h"
#include "engine/loss_explanation.h"
#include "engine/tour_search.h"
#include "reference/case_file.h"
#include "reference/scripted_host.h"

namespace saltor {
namespace {

using namespace knight_bits;

// The position and the moves the steps so far join (both ways) or rule out.
struct Board {
    uint64_t open = 0, lastColour = 0, joined[64] = {}, dropped[64] = {};
    int from = -1, last = -1;

    int Need(int v) const { return v == from || v == last ? 1 : 2; }
    bool Full(int v) const { return CountSquares(joined[v]) >= Need(v); }
    uint64_t Ways(int v) const {
        uint64_t ways = 0;
        for (uint64_t n = KnightMoves[v] & (open | Bit(from)) & ~dropped[v]; n; n &= n - 1) {
            const int u = Lowest(n);
            ways |= (joined[v] >> u & 1) || (!Full(v) && !Full(u)) ? Bit(u) : 0;
        }
        return ways;
    }
    // The far end of the piece of joined moves that `v` ends, and the squares on the way.
    int End(int v, uint64_t* piece = nullptr) const {
        uint64_t seen = Bit(v);
        for (uint64_t next = joined[v]; next != 0; next = joined[v] & ~seen) {
            v = Lowest(next);
            seen |= Bit(v);
        }
        if (piece)
            *piece = seen;
        return v;
    }
    bool MayBeLast(int v) const {
        return v != from && last < 0 && (lastColour >> v & 1) && End(v) != from;
    }
    bool Join(int a, int b) {
        const bool loop = End(a) == b && !(joined[a] >> b & 1);
        joined[a] |= Bit(b);
        joined[b] |= Bit(a);
        return !loop;
    }

    void Step(const ChainStep& step) {
        const int v = step.square;
        const uint64_t ways = Ways(v);
        switch (step.kind) {
            case ChainStep::Kind::Through:
                ASSERT_TRUE(ways == step.ways && CountSquares(ways) == 2 && !MayBeLast(v));
                ASSERT_TRUE(Join(v, Lowest(ways)) && Join(v, Lowest(ways & (ways - 1))));
                break;
            case ChainStep::Kind::Last:
                ASSERT_TRUE(ways == step.ways && CountSquares(ways) == 1 && MayBeLast(v));
                last = v;
                ASSERT_TRUE(Join(v, Lowest(ways)));
                break;
            case ChainStep::Kind::Jump:
                ASSERT_TRUE(End(from) == v && (ways & ~joined[v]) == step.ways && !Full(v));
                ASSERT_TRUE(CountSquares(step.ways) == 1 && Join(v, Lowest(step.ways)));
                break;
            case ChainStep::Kind::NoLoop:
                ASSERT_EQ(End(v), Lowest(step.ways));
                dropped[v] |= step.ways;
                dropped[Lowest(step.ways)] |= Bit(v);
                break;
        }
    }

    // The reason holds on this board.
    void Holds(const CutReason& end) const {
        uint64_t path = 0;
        const int head = End(from, &path), s = end.square;
        const uint64_t rest = open & ~path, named = end.squares & ~(s < 0 ? 0 : Bit(s));
        const auto each = [&](auto&& holds) {
            for (uint64_t n = named; n; n &= n - 1) {
                ASSERT_TRUE(holds(Lowest(n))) << Lowest(n);
            }
        };
        // A square with one way is the last, so no other is.
        const auto lastElsewhere = [&](int u) {
            for (uint64_t n = rest & ~Bit(u); n; n &= n - 1) {
                if (CountSquares(Ways(Lowest(n))) <= 1)
                    return true;
            }
            return false;
        };
        const auto twoWaysBy = [&](int via) {
            return [&, via](int u) {
                return Ways(u) >> via & 1 && CountSquares(Ways(u)) == 2 &&
                       (!MayBeLast(u) || lastElsewhere(u));
            };
        };
        ASSERT_NE(rest, 0u);
        switch (end.cut) {
            case Cut::NoWayOn:
                EXPECT_EQ(Ways(head) & ~joined[head], 0u);
                break;
            case Cut::Unreachable:
                each([&](int u) { return Ways(u) == 0; });
                break;
            case Cut::TwoLastSquares:
                EXPECT_TRUE(HasTwoOrMore(named) && (named & path) == 0);
                each([&](int u) { return u == last || CountSquares(Ways(u)) <= 1; });
                break;
            case Cut::LastSquareColour:
                each([&](int u) { return CountSquares(Ways(u)) <= 1 && !(lastColour >> u & 1); });
                break;
            case Cut::Split:
                EXPECT_NE(rest & ~named, 0u);
                each([&](int u) { return (Ways(u) & rest & ~named) == 0; });
                break;
            case Cut::ForcedThrough:
                EXPECT_GT(CountSquares(named), s == head ? 1 : Need(s));
                each(twoWaysBy(s));
                break;
            case Cut::Loop: {
                const uint64_t ways = Ways(s) & ~joined[s];
                EXPECT_TRUE(twoWaysBy(Lowest(named))(s) && named == Ways(s));
                EXPECT_TRUE(HasTwoOrMore(ways) ? End(Lowest(ways)) == Lowest(ways & (ways - 1))
                                               : End(s) == Lowest(ways));
                break;
            }
            default:
                ADD_FAILURE() << "reason " << static_cast<int>(end.cut);
        }
    }
};

void CheckChain(const TourState& tour, const LossChain& chain) {
    ASSERT_LE(chain.StepCount(), MostChainSteps);
    Board board;
    for (int i = 0; i < tour.moveCount; ++i) {
        board.from = IndexOf(tour.moves[i]);
        board.open |= Bit(board.from);
    }
    board.open = ~board.open;
    board.lastColour = IsEvenCount(board.open) == IsDark(board.from) ? DarkSquares : ~DarkSquares;
    for (const ChainStep& step : chain.steps) {
        ASSERT_NO_FATAL_FAILURE(board.Step(step));
    }
    if (chain.branches.empty()) {
        return board.Holds(chain.end);
    }
    const int v = chain.branchSquare;
    uint64_t ways = 0;
    for (const ChainBranch& branch : chain.branches) {
        ways |= Bit(branch.to);
    }
    // Every way the path may take from there has a branch.
    ASSERT_EQ(ways, board.Ways(v) & ~board.joined[v]);
    ASSERT_TRUE(board.End(board.from) == v ||
                (CountSquares(board.joined[v]) == 1 && v != board.last && !board.MayBeLast(v)));
    for (const ChainBranch& branch : chain.branches) {
        Board next = board;
        ASSERT_TRUE(next.Join(v, branch.to));
        for (const ChainStep& step : branch.steps) {
            ASSERT_NO_FATAL_FAILURE(next.Step(step));
        }
        next.Holds(branch.end);
    }
}

TEST(ExplainTest, EveryLossOfTheCorpusHasAReasonOrAChainWhoseStepsAllHold) {
    std::map<std::string, int> kinds;
    for (const char* name : {"random", "human", "strong"}) {
        for (const auto& [line, where] :
             ReadCases(std::string(SALTOR_CORPUS_DIR) + "/" + name + ".txt")) {
            SCOPED_TRACE(where + ": " + line);
            TourState tour = PositionOf(line);
            ScriptedHost host;
            const bool found = TourSearch(tour, host).Solve(false, 0xFFFFFFFFu);
            const Explanation why = ExplainLoss(tour, tour.moveCount);
            ASSERT_EQ(why.kind == Explanation::Kind::None, found);
            ASSERT_EQ(ExplanationText(why).empty(), found);
            if (why.kind == Explanation::Kind::Chain) {
                CheckChain(tour, why.chain);
            }
            ++kinds[ReasonKeyword(why)];
        }
    }
    EXPECT_GE(kinds["none"], 3000);
    for (const char* reason : {"two-ends", "wrong-colour", "forced", "split", "chain"}) {
        EXPECT_GE(kinds[reason], 5) << reason;
    }
    // At most one loss in a hundred is left to the count.
    EXPECT_LE(kinds["searched"] * 100, 2430);
}

}  // namespace
}  // namespace saltor
