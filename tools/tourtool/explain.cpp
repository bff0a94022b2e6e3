#include <istream>
#include <ostream>
#include <string>

#include "board/mark_text.h"
#include "engine/loss_explanation.h"
#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "settings/utf8.h"
#include "tourtool/tourtool.h"

namespace saltor::tourtool {
namespace {

std::string SquaresText(uint64_t squares) {
    std::array<Square, 64> list;
    list.fill(NoSquare);
    int count = 0;
    for (; squares != 0; squares &= squares - 1) {
        list[count++] = SquareAt(std::countr_zero(squares));
    }
    return count == 0 ? "-" : PathText(list, count);
}

}  // namespace

// Judges each line as `judge` does and says why, as the mark's tooltip would: the verdict, the
// reason's keyword, the squares it names and the sentence, separated by tabs.
int RunExplain(std::istream& in, std::ostream& out, uint32_t budgetMs, const Challenge& challenge) {
    std::string line;
    while (std::getline(in, line)) {
        TourState tour;
        DecodeTour(tour, JudgedLineText(line));
        tour.challenge = challenge;
        SteadyHost host;
        TourSearch search(tour, host);
        const bool found = search.Solve(false, budgetMs);
        const bool lost = !found && tour.firstLostMove < tour.moveCount;
        Explanation explanation;
        if (lost) {
            explanation = ExplainLoss(tour, tour.moveCount);
        } else if (!found) {
            explanation.kind = Explanation::Kind::Timeout;
            explanation.budgetMs = budgetMs;
            explanation.examined = search.Stats().squaresPlaced + search.Stats().choices;
        }
        out << (found  ? "found"
                : lost ? "lost"
                       : "doubtful")
            << '\t' << ReasonKeyword(explanation) << '\t' << SquaresText(explanation.Squares())
            << '\t' << EncodeUtf8(ExplanationText(explanation)) << '\n';
    }
    return 0;
}

}  // namespace saltor::tourtool
