#pragma once

#include <cstdint>
#include <memory>

namespace saltor {

// Positions that a search has already explored to the end without finding a tour: the squares
// visited and the knight's square say all there is to know about what can follow, so a branch
// that reaches one of them again (the same squares visited in another order) holds no tour
// either. A fixed-size table; a new entry replaces whatever shared its slot.
class LostPositions {
public:
    bool Contains(uint64_t visited, int knight) const;
    void Add(uint64_t visited, int knight);

private:
    struct Entry {
        uint64_t visited = 0;
        int32_t knight = -1;
    };
    static constexpr int SlotBits = 20;
    static size_t Slot(uint64_t visited, int knight);

    std::unique_ptr<Entry[]> entries_;  // made at the first Add: most searches never back up
};

}  // namespace saltor
