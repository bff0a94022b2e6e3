#include <chrono>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "engine/tour_search.h"
#include "files/tour_text.h"
#include "reference/exhaustive_search.h"
#include "reference/tour_checks.h"
#include "tourtool/tourtool.h"
#include "verdict_table.h"

namespace saltor::tourtool {

Judged Judge(const TourState& position, uint32_t budgetMs, SearchCuts cuts) {
    Judged judged{Verdict::Doubtful, 0, position};
    SteadyHost host;
    TourSearch search(judged.tour, host, cuts);
    const auto start = std::chrono::steady_clock::now();
    const bool found = search.Solve(false, budgetMs);
    judged.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    judged.verdict = found                                               ? Verdict::Found
                     : judged.tour.firstLostMove < judged.tour.moveCount ? Verdict::Lost
                                                                         : Verdict::Doubtful;
    return judged;
}

// Judges every position of the files with the plain search and with the cuts, one after the
// other, and prints how many each decides in time; checks on the way that the cuts change no
// verdict and no tour, and that each "lost" is confirmed by the independent exhaustive search.
int RunDecide(const std::vector<std::string>& files, std::ostream& out, uint32_t budgetMs) {
    VerdictTable plain, pruned;
    int differ = 0, badTours = 0, lostConfirmed = 0, lostUnsettled = 0, lostRefuted = 0;
    for (const std::string& name : files) {
        std::ifstream in(name);
        if (!in) {
            std::fprintf(stderr, "tourtool: cannot read %s\n", name.c_str());
            return 1;
        }
        std::string line;
        while (std::getline(in, line)) {
            TourState position;
            DecodeTour(position, std::wstring(line.begin(), line.end()));
            if (position.moveCount < 2) {
                continue;
            }
            const Judged a = Judge(position, budgetMs, SearchCuts::None());
            const Judged b = Judge(position, budgetMs, {});
            plain.Add(a.verdict, a.ms);
            pruned.Add(b.verdict, b.ms);
            if (a.verdict != Verdict::Doubtful &&
                (a.verdict != b.verdict ||
                 (a.verdict == Verdict::Found && a.tour.searchPath != b.tour.searchPath))) {
                ++differ;
                std::fprintf(stderr, "tourtool: the cuts change the verdict on %s\n", line.c_str());
            }
            if (b.verdict == Verdict::Found && !IsKnightsTour(b.tour.searchPath)) {
                ++badTours;
            }
            if (b.verdict == Verdict::Lost) {
                const reference::Completion truth = reference::CanComplete(
                    position.visits, position.moves[position.moveCount - 1], 50'000'000);
                lostConfirmed += truth == reference::Completion::Impossible;
                lostUnsettled += truth == reference::Completion::Unknown;
                lostRefuted += truth == reference::Completion::Possible;
            }
        }
    }
    out << MarkdownTable("search", {{"plain", &plain}, {"with cuts", &pruned}}, budgetMs);
    out << "\npositions: " << plain.Positions()
        << "; verdicts or tours changed by the cuts: " << differ << "; invalid tours: " << badTours
        << "\n\"lost\" checked exhaustively: " << lostConfirmed << " confirmed, " << lostRefuted
        << " refuted, " << lostUnsettled << " unsettled\n";
    return differ == 0 && badTours == 0 && lostRefuted == 0 ? 0 : 1;
}

}  // namespace saltor::tourtool
