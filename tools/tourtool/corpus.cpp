#include <ostream>
#include <vector>

#include "reference/tour_checks.h"
#include "tourtool/tourtool.h"

namespace saltor::tourtool {
namespace {

// How long the strong player may think about each move.
constexpr uint32_t StrongBudgetMs = 2000;

// The squares the knight may go to next.
std::vector<Square> LegalMoves(const TourState& tour) {
    std::vector<Square> moves;
    const Square from = tour.moves[tour.moveCount - 1];
    for (const Square& offset : KnightOffsets) {
        const Square to{from.column + offset.column, from.row + offset.row};
        if (tour.IsLegal(to)) {
            moves.push_back(to);
        }
    }
    return moves;
}

// One game of a player who only plays moves the judge finds a tour after, written from the 8th
// square to the 62nd, each position followed by one after a move the judge calls lost, if any
// (none that the model's own dead-end test already marks: those are decided before any search).
void PlayStrongGame(std::ostream& out, TestRandom& random, int& written, int count) {
    TourState tour;
    tour.Play(SquareAt(random.Below(64)));
    while (tour.moveCount < 62 && written < count) {
        std::vector<TourState> found, lost;
        for (const Square& move : LegalMoves(tour)) {
            TourState next = tour;
            next.Play(move);
            const Verdict verdict = Judge(next, StrongBudgetMs, {}).verdict;
            if (verdict == Verdict::Found) {
                found.push_back(next);
            } else if (verdict == Verdict::Lost && next.firstLostMove == NoMark) {
                lost.push_back(next);
            }
        }
        if (found.empty()) {
            return;  // only when the judge ran out of time on every sound move
        }
        tour = found[random.Below(static_cast<int>(found.size()))];
        if (tour.moveCount < 8) {
            continue;
        }
        out << PathText(tour.moves, tour.moveCount) << '\n';
        ++written;
        if (!lost.empty() && written < count) {
            const TourState& mistake = lost[random.Below(static_cast<int>(lost.size()))];
            out << PathText(mistake.moves, mistake.moveCount) << '\n';
            ++written;
        }
    }
}

}  // namespace

// Positions for the judge: `count` from random legal play of 8 to 30 moves, from human-like
// play of 8 to 50 moves, or from strong play; none where the knight got stuck first, and none
// already known lost by the model's own dead-end test.
int RunCorpus(std::ostream& out, CorpusStyle style, int count, uint64_t seed) {
    TestRandom random(seed);
    for (int written = 0; written < count;) {
        if (style == CorpusStyle::Strong) {
            PlayStrongGame(out, random, written, count);
            continue;
        }
        TourState tour;
        const bool humanLike = style == CorpusStyle::Human;
        const int length = humanLike ? 8 + random.Below(43) : 8 + random.Below(23);
        if (humanLike) {
            PlayHumanLike(tour, random, length);
        } else {
            PlayRandomly(tour, random, length);
        }
        if (tour.moveCount == length && tour.firstLostMove == NoMark) {
            out << PathText(tour.moves, tour.moveCount) << '\n';
            ++written;
        }
    }
    return 0;
}

}  // namespace saltor::tourtool
