#include "engine/loss_explanation.h"

#include "engine/knight_bits.h"
#include "engine/tour_search.h"

namespace saltor {
namespace {

using namespace knight_bits;

// A clock that never moves and a player who never interrupts: the search runs to its verdict.
class PatientHost : public SearchHost {
public:
    uint32_t TickCount() override { return 0; }
    bool PollCancel() override { return false; }
    void ShowBusy() override {}
    void SearchEnded() override {}
};

}  // namespace

uint64_t Explanation::Squares() const {
    uint64_t squares = cut.squares;
    for (const auto& [square, why] : jumps) {
        squares |= Bit(square) | why.squares;
    }
    return squares;
}

Explanation ExplainLoss(const TourState& tour, int moveCount) {
    Explanation explanation;
    TourState position;
    for (int i = 0; i < moveCount; ++i) {
        position.Play(tour.moves[i]);
    }
    uint64_t visited = 0;
    for (int i = 0; i < moveCount; ++i) {
        visited |= Bit(IndexOf(tour.moves[i]));
    }
    const int from = IndexOf(tour.moves[moveCount - 1]);
    explanation.cut = ExplainCut(visited, from);
    if (explanation.cut.cut != Cut::None) {
        explanation.kind = Explanation::Kind::Cut;
        return explanation;
    }
    const uint64_t jumps = KnightMoves[from] & ~visited;
    if (CountSquares(jumps) <= MaxJumpsTold) {
        for (uint64_t rest = jumps; rest != 0; rest &= rest - 1) {
            const int square = Lowest(rest);
            const CutReason why = ExplainCut(visited | Bit(square), square);
            if (why.cut == Cut::None) {
                explanation.jumps.clear();
                break;
            }
            explanation.jumps.emplace_back(square, why);
        }
        if (!explanation.jumps.empty()) {
            explanation.kind = Explanation::Kind::Deeper;
            return explanation;
        }
    }
    PatientHost host;
    TourSearch search(position, host);
    position.firstLostMove = NoMark;  // found by the dead-end test alone, it would not search
    if (search.Solve(false, 0xFFFFFFFFu)) {
        return explanation;
    }
    explanation.kind = Explanation::Kind::Searched;
    explanation.examined = search.Stats().squaresPlaced + search.Stats().choices;
    return explanation;
}

}  // namespace saltor
