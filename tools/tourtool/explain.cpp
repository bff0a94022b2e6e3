#include <algorithm>
#include <chrono>
#include <iomanip>
#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

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

// The squares of each numbered line, " / " between lines.
std::string LinesText(const Explanation& explanation) {
    if (explanation.kind != Explanation::Kind::Chain) {
        return SquaresText(explanation.Squares());
    }
    std::string text;
    for (const uint64_t line : explanation.Lines()) {
        text += (text.empty() ? "" : " / ") + SquaresText(line);
    }
    return text;
}

// The tooltip's lines on one line of output.
std::string OneLine(const std::wstring& text) {
    std::string line = EncodeUtf8(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

// How the lost positions were explained, and how long each explanation took.
void WriteSummary(std::ostream& out, const std::map<std::string, int>& reasons,
                  std::vector<double> ms) {
    if (ms.empty()) {
        return;
    }
    std::sort(ms.begin(), ms.end());
    const double lost = static_cast<double>(ms.size());
    const auto share = [&](int n) { return 100.0 * n / lost; };
    const int searched = reasons.contains("searched") ? reasons.at("searched") : 0;
    const int chains = reasons.contains("chain") ? reasons.at("chain") : 0;
    out << std::fixed << std::setprecision(1) << "lost " << ms.size() << ": on the board "
        << share(static_cast<int>(ms.size()) - chains - searched) << " %, chain " << share(chains)
        << " %, proof too long " << share(searched) << " %\n"
        << std::setprecision(3) << "explained in: median " << ms[ms.size() / 2] << " ms, 99th "
        << ms[ms.size() * 99 / 100] << " ms, slowest " << ms.back() << " ms\n";
    for (const auto& [reason, count] : reasons) {
        out << "  " << reason << ' ' << count << '\n';
    }
}

}  // namespace

// Judges each line as `judge` does and says why, as the mark's tooltip would: the verdict, the
// reason's keyword, the squares it names (a chain's line by line) and the sentence, separated by
// tabs. A summary of the lost positions goes to `summary`.
int RunExplain(std::istream& in, std::ostream& out, std::ostream& summary, uint32_t budgetMs,
               const Challenge& challenge) {
    std::map<std::string, int> reasons;
    std::vector<double> ms;
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
            // The fastest of three runs: a machine shared with other work adds its own delays.
            double fastest = 1e9;
            for (int run = 0; run < 3; ++run) {
                const auto start = std::chrono::steady_clock::now();
                explanation = ExplainLoss(tour, tour.moveCount);
                fastest = std::min(fastest, std::chrono::duration<double, std::milli>(
                                                std::chrono::steady_clock::now() - start)
                                                .count());
            }
            ms.push_back(fastest);
            ++reasons[ReasonKeyword(explanation)];
        } else if (!found) {
            explanation.kind = Explanation::Kind::Timeout;
            explanation.budgetMs = budgetMs;
            explanation.examined = search.Stats().squaresPlaced + search.Stats().choices;
        }
        out << (found  ? "found"
                : lost ? "lost"
                       : "doubtful")
            << '\t' << ReasonKeyword(explanation) << '\t' << LinesText(explanation) << '\t'
            << OneLine(ExplanationText(explanation)) << '\n';
    }
    WriteSummary(summary, reasons, ms);
    return 0;
}

}  // namespace saltor::tourtool
