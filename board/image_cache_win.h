#pragma once

#include <windows.h>

#include "settings/app_settings.h"
#include "winkit/handles_win.h"

namespace saltor {

// The board's pictures, decoded and scaled once so that a paint only copies pixels: the texture
// tile (2c x 2c, white squares' texture top left and bottom right) and the knight (c x c,
// premultiplied alpha). GDI+ must be running while Build is called.
class BoardImages {
public:
    BoardImages() = default;
    BoardImages(const BoardImages&) = delete;
    BoardImages& operator=(const BoardImages&) = delete;

    void Build(const AppSettings& settings, int cellSize, HINSTANCE instance);
    void Reset();

    // How a texture's quadrants of the tile are to be copied: not at all (it could not be
    // loaded, so the squares keep their plain colour), with BitBlt, or with AlphaBlend (a
    // picture with transparency: the tile is then premultiplied 32-bit).
    enum class Look { Missing, Opaque, Translucent };

    int CellSize() const { return cellSize_; }
    // Null when neither texture could be loaded.
    HBITMAP Tile() const { return tile_.Get(); }
    Look WhiteLook() const { return white_; }
    Look BlackLook() const { return black_; }
    // Null when there is no knight picture.
    HBITMAP Knight() const { return knight_.Get(); }

private:
    int cellSize_ = 0;
    UniqueBitmap tile_;
    Look white_ = Look::Missing;
    Look black_ = Look::Missing;
    UniqueBitmap knight_;
};

}  // namespace saltor
