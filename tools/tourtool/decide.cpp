#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
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

namespace {

// One way of judging: its verdicts and times, and its slowest positions.
struct Way {
    const char* label;
    SearchCuts cuts;
    VerdictTable table;
    std::vector<std::pair<double, std::string>> slowest;

    void Add(const Judged& judged, const std::string& line) {
        table.Add(judged.verdict, judged.ms);
        const char* verdict = judged.verdict == Verdict::Found  ? "found"
                              : judged.verdict == Verdict::Lost ? "lost"
                                                                : "undecided";
        slowest.emplace_back(judged.ms, std::string(verdict) + ' ' + line);
        std::sort(slowest.begin(), slowest.end(), std::greater<>());
        if (slowest.size() > 10) {
            slowest.pop_back();
        }
    }
};

bool Disagree(const Judged& a, const Judged& b) {
    return a.verdict != Verdict::Doubtful && b.verdict != Verdict::Doubtful &&
           (a.verdict != b.verdict ||
            (a.verdict == Verdict::Found && a.tour.searchPath != b.tour.searchPath));
}

}  // namespace

// Judges every position of the files three ways, one after the other: the plain search, the
// search with its cuts in the plain order, and the judge as the game runs it (cuts and prover);
// prints how many each decides in time and the slowest positions. Checks on the way that no way
// changes a verdict or a tour where another decides too, and confirms every `checkEvery`-th
// "lost" of the judge with the independent exhaustive search.
int RunDecide(const std::vector<std::string>& files, std::ostream& out, uint32_t budgetMs,
              int checkEvery, const Challenge& challenge) {
    SearchCuts plainOrder;
    plainOrder.proveAfterSquares = 0;
    Way ways[] = {{"plain", SearchCuts::None(), {}, {}},
                  {"cuts, plain order", plainOrder, {}, {}},
                  {"cuts and prover (the game)", SearchCuts{}, {}, {}}};
    int differ = 0, badTours = 0, lostSeen = 0, lostConfirmed = 0, lostUnsettled = 0,
        lostRefuted = 0;
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
            position.challenge = challenge;
            if (position.moveCount < 2) {
                continue;
            }
            std::vector<Judged> judged;
            for (Way& way : ways) {
                judged.push_back(Judge(position, budgetMs, way.cuts));
                way.Add(judged.back(), line);
            }
            const Judged& game = judged.back();
            if (Disagree(judged[0], game) || Disagree(judged[1], game)) {
                ++differ;
                std::fprintf(stderr, "tourtool: verdict or tour differs on %s\n", line.c_str());
            }
            if (game.verdict == Verdict::Found &&
                (!IsKnightsTour(game.tour.searchPath) ||
                 !MeetsChallenge(challenge, game.tour.searchPath))) {
                ++badTours;
            }
            if (game.verdict == Verdict::Lost && lostSeen++ % checkEvery == 0) {
                const reference::Completion truth = reference::CanComplete(
                    position.visits, position.moves[position.moveCount - 1], 50'000'000, true,
                    AllowedLastSquares(challenge, position.moves[0]));
                lostConfirmed += truth == reference::Completion::Impossible;
                lostUnsettled += truth == reference::Completion::Unknown;
                lostRefuted += truth == reference::Completion::Possible;
            }
        }
    }
    out << MarkdownTable("search",
                         {{ways[0].label, &ways[0].table},
                          {ways[1].label, &ways[1].table},
                          {ways[2].label, &ways[2].table}},
                         budgetMs);
    out << "\npositions: " << ways[0].table.Positions()
        << "; verdicts or tours that differ where two ways decide: " << differ
        << "; invalid tours: " << badTours << "\n\"lost\" checked exhaustively (every "
        << checkEvery << "): " << lostConfirmed << " confirmed, " << lostRefuted << " refuted, "
        << lostUnsettled << " unsettled\n";
    for (const Way& way : {ways[1], ways[2]}) {
        out << "\nslowest, " << way.label << ":\n";
        for (const auto& [ms, what] : way.slowest) {
            char time[32];
            std::snprintf(time, sizeof time, "%10.3f ms  ", ms);
            out << time << what << '\n';
        }
    }
    return differ == 0 && badTours == 0 && lostRefuted == 0 ? 0 : 1;
}

}  // namespace saltor::tourtool
