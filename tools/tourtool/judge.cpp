#include <chrono>
#include <istream>
#include <ostream>
#include <string>

#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "tourtool/tourtool.h"

namespace saltor::tourtool {

std::wstring JudgedLineText(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    // Byte by byte: only ASCII letters and digits can form a square, so bytes of other
    // characters stop decoding exactly where those characters would.
    std::wstring text;
    for (const char ch : line) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    }
    return text;
}

// Judges each line as the board judges a move: the position is loaded like a study, then checked
// by the search without completing it.
int RunJudge(std::istream& in, std::ostream& out, uint32_t budgetMs, bool pruned,
             const Challenge& challenge) {
    std::string line;
    while (std::getline(in, line)) {
        TourState tour;
        DecodeTour(tour, JudgedLineText(line));
        tour.challenge = challenge;

        SteadyHost host;
        TourSearch search(tour, host, pruned ? SearchCuts{} : SearchCuts::None());
        const auto start = std::chrono::steady_clock::now();
        const bool found = search.Solve(false, budgetMs);
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
        const char* verdict = found                                 ? "found"
                              : tour.firstLostMove < tour.moveCount ? "lost"
                                                                    : "doubtful";
        out << verdict << ' ' << search.Stats().squaresPlaced << ' ' << micros;
        if (found) {
            // A finished or one-square position has no search path of its own.
            const bool searched = tour.moveCount >= 2 && !tour.IsComplete();
            const std::string path = PathText(searched ? tour.searchPath : tour.moves, 64);
            if (!path.empty()) {
                out << ' ' << path;
            }
        }
        out << '\n';
    }
    return 0;
}

}  // namespace saltor::tourtool
