#pragma once

#include <cstdint>

namespace saltor {

// True when no knight's path starting at `from` visits every square outside `visited` exactly
// once, by reasoning that needs no search. `visited` holds `from`. False means "maybe": only the
// search can tell. A true answer is always right, so the search may drop such a branch unseen
// without changing which tour it meets first.
bool CannotComplete(uint64_t visited, int from);

}  // namespace saltor
