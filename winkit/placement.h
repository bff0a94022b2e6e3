#pragma once

namespace saltor {

struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// `window` centred over `over`, then pushed back inside `workArea`; when it is larger than the
// work area its left and top edges stay visible (the caption matters most). Portable arithmetic
// behind CentreWindow.
WindowRect CentreOver(const WindowRect& window, const WindowRect& over, const WindowRect& workArea);

}  // namespace saltor
