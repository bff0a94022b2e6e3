#include "board/knight_fit.h"

namespace saltor {

// The picture keeps its proportions, fills the layer along its longer side and is centred along
// the other. Single precision, dividing before multiplying, so that every build of the program
// places the knight on the same pixels. A picture without size gives an empty rectangle.
KnightFit FitKnight(int pictureWidth, int pictureHeight, int cellSize) {
    KnightFit fit;
    if (pictureWidth <= 0 || pictureHeight <= 0 || cellSize <= 0) {
        return fit;
    }
    const float c = static_cast<float>(cellSize);
    const float w = static_cast<float>(pictureWidth);
    const float h = static_cast<float>(pictureHeight);
    if (pictureWidth <= pictureHeight) {
        fit.height = c;
        fit.width = (c / h) * w;
        fit.x = (c - fit.width) * 0.5f;
    } else {
        fit.width = c;
        fit.height = (c / w) * h;
        fit.y = (c - fit.height) * 0.5f;
    }
    return fit;
}

}  // namespace saltor
