#include <chrono>

#include "tourtool/tourtool.h"

namespace saltor::tourtool {

uint32_t SteadyHost::TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    // Wraps like the platform's millisecond tick; the search only uses differences.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
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
