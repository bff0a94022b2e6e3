#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/loss_explanation.h"

namespace saltor {

// What the tooltip of a judgement mark says, in French. Squares are named as chess players
// write them (e4), numbers with a space between thousands (12 345).
std::wstring ExplanationText(const Explanation& explanation);

// For "?": the search's budget (none when the player's key or click stopped it) and what it
// examined; `later`, when not empty, is what the judge found after a later move, `lostMove` that
// move's number.
std::wstring DoubtText(std::optional<uint32_t> budgetMs, uint64_t examined,
                       const std::wstring& later, int lostMove);

// The keyword of the explanation's reason, for tools: no-move, unreachable, two-ends,
// wrong-colour, split, forced, chain, searched, timeout or none; with a challenge also
// arrival-visited, arrival-colour, arrival-cut-off, start-surrounded, start-cut-off, not-last.
const char* ReasonKeyword(const Explanation& explanation);

// The square of that index as chess players write it: "e4".
std::wstring SquareName(int index);

// "12 345": the digits grouped by three, a no-break space between groups.
std::wstring GroupedNumber(uint64_t n);

}  // namespace saltor
