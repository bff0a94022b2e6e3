#include "winkit/placement.h"

#include <algorithm>

namespace saltor {

WindowRect CentreOver(const WindowRect& window, const WindowRect& over,
                      const WindowRect& workArea) {
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int left = over.left + (over.right - over.left - width) / 2;
    int top = over.top + (over.bottom - over.top - height) / 2;
    // Right and bottom first, so that the left and top edges win when both cannot hold.
    left = std::max(std::min(left, workArea.right - width), workArea.left);
    top = std::max(std::min(top, workArea.bottom - height), workArea.top);
    return {left, top, left + width, top + height};
}

}  // namespace saltor
