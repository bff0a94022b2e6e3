#include <chrono>
#include <ctime>

#include "tourtool/tourtool.h"

namespace saltor::tourtool {

uint32_t SteadyHost::TickCount() {
#ifdef CLOCK_MONOTONIC_COARSE
    // The search reads the clock at every back-up; the coarse clock costs a fraction of the
    // precise one and still ticks every few milliseconds, as finely as the platform's tick.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000 +
                                 static_cast<uint64_t>(now.tv_nsec) / 1'000'000);
#else
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    // Wraps like the platform's millisecond tick; the search only uses differences.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
#endif
}

std::string PathText(const std::array<Square, 64>& path, int count) {
    std::string text;
    for (int i = 0; i < count && IsOnBoard(path[i]); ++i) {
        if (i > 0) {
            text += ';';
        }
        text += static_cast<char>('A' + path[i].column);
        text += static_cast<char>('1' + path[i].row);
    }
    return text;
}

}  // namespace saltor::tourtool
