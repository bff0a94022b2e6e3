#pragma once

namespace saltor {

// Where the knight picture goes inside its c x c layer, in pixels.
struct KnightFit {
    float x = 0, y = 0, width = 0, height = 0;
    bool Empty() const { return !(width > 0 && height > 0); }
};

KnightFit FitKnight(int pictureWidth, int pictureHeight, int cellSize);

}  // namespace saltor
