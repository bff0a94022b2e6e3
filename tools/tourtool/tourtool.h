#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "engine/search_host.h"
#include "engine/tour_search.h"
#include "engine/tour_state.h"
#include "verdict_table.h"

namespace saltor::tourtool {

// The game's search time budget when none is given.
inline constexpr uint32_t DefaultBudgetMs = 1000;

int RunStarts(std::ostream& out, uint32_t budgetMs);
// judge, explain and decide read positions under a challenge (an open tour unless asked).
int RunJudge(std::istream& in, std::ostream& out, uint32_t budgetMs, bool pruned,
             const Challenge& challenge);
int RunBench(std::ostream& out, double seconds);
int RunExplain(std::istream& in, std::ostream& out, std::ostream& summary, uint32_t budgetMs,
               const Challenge& challenge);

// A line of positions as the judge reads it: CR LF ends a line as LF does.
std::wstring JudgedLineText(std::string line);
int RunDecide(const std::vector<std::string>& files, std::ostream& out, uint32_t budgetMs,
              int checkEvery, const Challenge& challenge);
enum class CorpusStyle { Random, Human, Strong };
int RunCorpus(std::ostream& out, CorpusStyle style, int count, uint64_t seed);

// A position judged as the board judges a move, without completing it, on the real clock.
struct Judged {
    Verdict verdict;
    double ms;
    TourState tour;
};
Judged Judge(const TourState& position, uint32_t budgetMs, SearchCuts cuts);

// The squares of `path` up to the first empty entry, in game-file notation.
std::string PathText(const std::array<Square, 64>& path, int count);

// The real clock; input never cancels (nobody clicks a command line).
class SteadyHost : public SearchHost {
public:
    uint32_t TickCount() override;
    bool PollCancel() override { return false; }
    void ShowBusy() override {}
    void SearchEnded() override {}
};

}  // namespace saltor::tourtool
