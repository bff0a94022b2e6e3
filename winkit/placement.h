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

// Lengths are designed for 96 dots per inch (100 % display scale); `length` at `dpi`, rounded to
// the nearest pixel as MulDiv rounds.
inline constexpr int kDesignDpi = 96;
constexpr int ScaleToDpi(int length, int dpi) {
    const long long scaled = static_cast<long long>(length) * dpi;
    return static_cast<int>((scaled >= 0 ? scaled + kDesignDpi / 2 : scaled - kDesignDpi / 2) /
                            kDesignDpi);
}

}  // namespace saltor
