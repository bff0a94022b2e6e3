#include "engine/loss_explanation.h"

#include "engine/knight_bits.h"
#include "engine/tour_search.h"

namespace saltor {
namespace {

using namespace knight_bits;

// A clock that counts the positions examined, so that the count of a hard case stays bounded
// (on any machine) while the player waits for the tooltip; the player never interrupts.
class CountingHost : public SearchHost {
public:
    uint32_t TickCount() override { return examined_; }
    bool PollCancel() override { return false; }
    void ShowBusy() override { ++examined_; }
    void SearchEnded() override {}

private:
    uint32_t examined_ = 0;
};

// Enough for every position of play we know of by a factor of a thousand.
constexpr uint32_t kMostExamined = 10'000'000;

}  // namespace

uint64_t Explanation::Squares() const {
    uint64_t squares = cut.squares;
    for (const uint64_t line : Lines()) {
        squares |= line;
    }
    return squares;
}

std::vector<uint64_t> Explanation::Lines() const {
    if (kind == Kind::Chain) {
        return chain.Lines();
    }
    return {cut.squares};
}

Explanation ExplainLoss(const TourState& tour, int moveCount) {
    Explanation explanation;
    explanation.challenge = tour.challenge;
    TourState position;
    position.challenge = tour.challenge;
    const uint64_t lastSquares = AllowedLastSquares(tour.challenge, tour.moves[0]);
    uint64_t visited = 0;
    for (int i = 0; i < moveCount; ++i) {
        position.Play(tour.moves[i]);
        visited |= Bit(IndexOf(tour.moves[i]));
    }
    const int from = IndexOf(tour.moves[moveCount - 1]);
    explanation.cut = ExplainCut(visited, from, lastSquares);
    if (explanation.cut.cut != Cut::None) {
        explanation.kind = Explanation::Kind::Cut;
        return explanation;
    }
    if (FindLossChain(visited, from, lastSquares, explanation.chain)) {
        const bool bare = explanation.chain.StepCount() == 0 && explanation.chain.branches.empty();
        explanation.kind = bare ? Explanation::Kind::Cut : Explanation::Kind::Chain;
        explanation.cut = bare ? explanation.chain.end : CutReason{};
        return explanation;
    }
    CountingHost host;
    TourSearch search(position, host);
    position.firstLostMove = NoMark;  // found by the dead-end test alone, it would not search
    if (search.Solve(false, kMostExamined)) {
        return explanation;
    }
    explanation.kind = Explanation::Kind::Searched;
    explanation.examined = search.Stats().squaresPlaced + search.Stats().choices;
    return explanation;
}

}  // namespace saltor
