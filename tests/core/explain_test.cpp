// The explanations of the marks against the judge's verdicts on tourtool's committed corpus:
// every "lost" has a reason and every "found" none, so no reason is ever given for a move that
// still has a tour.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "board/mark_text.h"
#include "engine/loss_explanation.h"
#include "engine/tour_search.h"
#include "reference/case_file.h"
#include "reference/scripted_host.h"

namespace saltor {
namespace {

TEST(ExplainTest, EveryLossOfTheCorpusHasAReasonAndNoTourHasOne) {
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
            ++kinds[ReasonKeyword(why)];
        }
    }
    EXPECT_GE(kinds["none"], 3000);
    for (const char* reason :
         {"two-ends", "wrong-colour", "forced", "split", "deeper", "searched"}) {
        EXPECT_GE(kinds[reason], 5) << reason;
    }
}

}  // namespace
}  // namespace saltor
