#include "engine/lost_positions.h"

#include <new>

namespace saltor {

size_t LostPositions::Slot(uint64_t visited, int knight) {
    const uint64_t mixed =
        (visited ^ (static_cast<uint64_t>(knight) << 58)) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(mixed >> (64 - SlotBits));
}

bool LostPositions::Contains(uint64_t visited, int knight) const {
    if (!entries_) {
        return false;
    }
    const Entry& entry = entries_[Slot(visited, knight)];
    return entry.visited == visited && entry.knight == knight;
}

void LostPositions::Add(uint64_t visited, int knight) {
    if (!entries_) {
        // Short of memory the search goes on without the table: it only saves time.
        entries_.reset(new (std::nothrow) Entry[size_t{1} << SlotBits]);
        if (!entries_) {
            return;
        }
    }
    entries_[Slot(visited, knight)] = Entry{visited, knight};
}

}  // namespace saltor
