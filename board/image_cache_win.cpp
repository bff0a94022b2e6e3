#include "board/image_cache_win.h"

#include "winkit/gdiplus_win.h"

#include <shlwapi.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "board/image_limits.h"
#include "board/knight_fit.h"
#include "resources/resource.h"
#include "winkit/file_win.h"
#include "winkit/image_header.h"

namespace saltor {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

struct BitmapDeleter {
    void operator()(GpBitmap* bitmap) const { GdipDisposeImage(bitmap); }
};
struct GraphicsDeleter {
    void operator()(GpGraphics* graphics) const { GdipDeleteGraphics(graphics); }
};
struct AttributesDeleter {
    void operator()(GpImageAttributes* attributes) const { GdipDisposeImageAttributes(attributes); }
};
using Picture = std::unique_ptr<GpBitmap, BitmapDeleter>;
using Surface = std::unique_ptr<GpGraphics, GraphicsDeleter>;
using Attributes = std::unique_ptr<GpImageAttributes, AttributesDeleter>;

ImageSize SizeOf(GpBitmap* picture) {
    UINT width = 0, height = 0;
    if (picture == nullptr || GdipGetImageWidth(picture, &width) != Ok ||
        GdipGetImageHeight(picture, &height) != Ok) {
        return {};
    }
    return {width, height};
}

// Takes a freshly decoded picture, or drops it when it has no size or too many pixels.
Picture Accept(Status status, GpBitmap* picture) {
    Picture owned(status == Ok ? picture : nullptr);
    const ImageSize size = SizeOf(owned.get());
    if (!ImageSizeAllowed(size.width, size.height)) {
        owned.reset();
    }
    return owned;
}

// Looks at a file before GDI+ decodes all of it: too long a file, or a header that states too
// many pixels, is refused at once. Formats whose header we do not read go on to the decoder,
// and Accept checks their size afterwards.
bool WorthDecoding(const std::wstring& path) {
    ReadOnlyFile file(path, kShareAll);
    const uint64_t length = file.Size();
    if (length == 0 || length > kMaxImageFileBytes) {
        return false;
    }
    std::optional<std::string> head = file.Read(std::min<uint64_t>(length, kImageHeadBytes));
    // An icon's images may lie anywhere in it, and GDI+ decodes a PNG one whole: the rest of the
    // file is read too (it is within the limit), so that every image's header is seen.
    const bool icon = head && head->size() >= 4 && (*head)[0] == 0 && (*head)[1] == 0 &&
                      ((*head)[2] == 1 || (*head)[2] == 2) && (*head)[3] == 0;
    if (icon && head->size() < length) {
        const std::optional<std::string> rest = file.Read(length - head->size());
        head = rest ? std::optional(*head + *rest) : std::nullopt;
    }
    if (!head) {
        return false;
    }
    const auto stated = ReadImageSize(reinterpret_cast<const uint8_t*>(head->data()), head->size());
    return !stated || ImageSizeAllowed(stated->width, stated->height);
}

Picture FromFile(const std::wstring& path) {
    if (!WorthDecoding(path)) {
        return {};
    }
    GpBitmap* picture = nullptr;
    const Status status = GdipCreateBitmapFromFile(path.c_str(), &picture);
    return Accept(status, picture);
}

Picture FromBitmapResource(HINSTANCE instance, int id) {
    GpBitmap* picture = nullptr;
    const Status status = GdipCreateBitmapFromResource(instance, MAKEINTRESOURCEW(id), &picture);
    return Accept(status, picture);
}

// A picture file kept as raw data, read through a stream over a copy of its bytes.
Picture FromDataResource(HINSTANCE instance, int id) {
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
    const DWORD size = resource != nullptr ? SizeofResource(instance, resource) : 0;
    HGLOBAL loaded = size != 0 ? LoadResource(instance, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    IStream* stream =
        bytes != nullptr ? SHCreateMemStream(static_cast<const BYTE*>(bytes), size) : nullptr;
    if (stream == nullptr) {
        return {};
    }
    GpBitmap* picture = nullptr;
    const Status status = GdipCreateBitmapFromStream(stream, &picture);
    stream->Release();  // the picture keeps its own reference while it needs one
    return Accept(status, picture);
}

Picture Load(const std::wstring& path, HINSTANCE instance, int bitmapId) {
    return path.empty() ? FromBitmapResource(instance, bitmapId) : FromFile(path);
}

// A zeroed (fully transparent) 32-bit top-down DIB section.
UniqueBitmap MakeDib(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
    GdiFlush();
    return dib;
}

// GDI+ drawing straight into a DIB section's pixels as premultiplied ARGB, which is what
// AlphaBlend reads.
struct Canvas {
    UniqueBitmap dib;
    uint32_t* pixels = nullptr;  // top row first, premultiplied
    Picture picture;
    Surface surface;

    Canvas(int width, int height) {
        void* bits = nullptr;
        dib = MakeDib(width, height, &bits);
        if (!dib) {
            return;
        }
        pixels = static_cast<uint32_t*>(bits);
        GpBitmap* over = nullptr;
        if (GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                      static_cast<BYTE*>(bits), &over) != Ok) {
            return;
        }
        picture.reset(over);
        GpGraphics* graphics = nullptr;
        if (GdipGetImageGraphicsContext(over, &graphics) != Ok) {
            return;
        }
        surface.reset(graphics);
        GdipSetInterpolationMode(graphics, InterpolationModeHighQualityBicubic);
        GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
    }
    bool Ready() const { return surface != nullptr; }
    // Hands over the pixels once GDI+ is done with them.
    UniqueBitmap Finish() {
        surface.reset();
        picture.reset();
        return std::move(dib);
    }
};

// Stretches `picture` over a rectangle. Mirrored edges give the resampler real pixels beyond
// the border, so the rectangle's edges come out opaque instead of fading into their
// surroundings.
void DrawStretched(GpGraphics* surface, GpBitmap* picture, REAL x, REAL y, REAL width,
                   REAL height) {
    const ImageSize size = SizeOf(picture);
    if (size.width == 0 || size.height == 0) {
        return;
    }
    GpImageAttributes* raw = nullptr;
    if (GdipCreateImageAttributes(&raw) != Ok) {
        return;
    }
    const Attributes attributes(raw);
    GdipSetImageAttributesWrapMode(raw, WrapModeTileFlipXY, 0, FALSE);
    GdipDrawImageRectRect(surface, picture, x, y, width, height, 0, 0,
                          static_cast<REAL>(size.width), static_cast<REAL>(size.height), UnitPixel,
                          raw, nullptr, nullptr);
}

struct Texture {
    UniqueBitmap bitmap;
    BoardImages::Look look = BoardImages::Look::Missing;
};

// One texture stretched over a whole c x c bitmap. Wine's GDI+ leaves the first column or row
// of a rectangle that does not start at the origin unpainted at some sizes, so every texture
// is drawn at the origin of its own bitmap and the tile is put together with BitBlt.
Texture Stretched(GpBitmap* picture, int c) {
    Canvas canvas(c, c);
    if (picture == nullptr || !canvas.Ready()) {
        return {};
    }
    const auto side = static_cast<REAL>(c);
    DrawStretched(canvas.surface.get(), picture, 0, 0, side, side);
    GdipFlush(canvas.surface.get(), FlushIntentionSync);
    const uint32_t* pixels = canvas.pixels;
    Texture texture{canvas.Finish()};
    texture.look = std::all_of(pixels, pixels + c * c, [](uint32_t p) { return p >> 24 == 0xFF; })
                       ? BoardImages::Look::Opaque
                       : BoardImages::Look::Translucent;
    return texture;
}

// The 2c x 2c tile: white top left and bottom right, black in the other two quadrants; a
// missing texture leaves its quadrants transparent.
UniqueBitmap ComposeTile(HBITMAP white, HBITMAP black, int c) {
    void* bits = nullptr;
    UniqueBitmap tile = MakeDib(2 * c, 2 * c, &bits);
    const UniqueMemoryDc from(CreateCompatibleDC(nullptr));
    const UniqueMemoryDc to(CreateCompatibleDC(nullptr));
    if (!tile || !from || !to) {
        return {};
    }
    SelectedObject source(from.Get(), white != nullptr ? white : black);
    const SelectedObject target(to.Get(), tile.Get());
    const struct {
        HBITMAP texture;
        int x, y;
    } quadrants[] = {{white, 0, 0}, {white, c, c}, {black, c, 0}, {black, 0, c}};
    for (const auto& q : quadrants) {
        if (q.texture != nullptr) {
            source.Select(q.texture);
            BitBlt(to.Get(), q.x, q.y, c, c, from.Get(), 0, 0, SRCCOPY);
        }
    }
    return tile;
}

// The same pixels in the screen's own format, which BitBlt copies without conversion.
UniqueBitmap ForScreen(HBITMAP dib, int side) {
    const WindowDc screen(nullptr);
    UniqueBitmap ddb(CreateCompatibleBitmap(screen.Get(), side, side));
    const UniqueMemoryDc from(CreateCompatibleDC(screen.Get()));
    const UniqueMemoryDc to(CreateCompatibleDC(screen.Get()));
    if (!ddb || !from || !to) {
        return {};
    }
    const SelectedObject source(from.Get(), dib);
    const SelectedObject target(to.Get(), ddb.Get());
    if (!BitBlt(to.Get(), 0, 0, side, side, from.Get(), 0, 0, SRCCOPY)) {
        return {};
    }
    return ddb;
}

}  // namespace

// Decodes and scales the textures and the knight for squares of `cellSize` pixels. Pictures
// that cannot be had are left out without a word: the squares keep their plain colours.
void BoardImages::Build(const AppSettings& settings, int cellSize, HINSTANCE instance) {
    Reset();
    if (cellSize <= 0) {
        return;
    }
    cellSize_ = cellSize;
    const int c = cellSize;

    const Texture white =
        Stretched(Load(settings.WhiteImage, instance, IDB_WHITE_TEXTURE).get(), c);
    const Texture black =
        Stretched(Load(settings.BlackImage, instance, IDB_BLACK_TEXTURE).get(), c);
    if (white.bitmap || black.bitmap) {
        UniqueBitmap tile = ComposeTile(white.bitmap.Get(), black.bitmap.Get(), c);
        if (tile) {
            white_ = white.look;
            black_ = black.look;
            // Without transparency to keep, the tile takes the screen's format for BitBlt.
            if (white_ != Look::Translucent && black_ != Look::Translucent) {
                tile_ = ForScreen(tile.Get(), 2 * c);
            }
            if (!tile_) {
                tile_ = std::move(tile);
            }
        }
    }

    const Picture knight = settings.KnightImage.empty() ? FromDataResource(instance, IDR_KNIGHT_PNG)
                                                        : FromFile(settings.KnightImage);
    const ImageSize size = SizeOf(knight.get());
    const KnightFit fit = FitKnight(static_cast<int>(size.width), static_cast<int>(size.height), c);
    if (!fit.Empty()) {
        Canvas layer(c, c);
        if (layer.Ready()) {
            DrawStretched(layer.surface.get(), knight.get(), fit.x, fit.y, fit.width, fit.height);
            GdipFlush(layer.surface.get(), FlushIntentionSync);
            knight_ = layer.Finish();
        }
    }
}

void BoardImages::Reset() {
    tile_.Reset();
    knight_.Reset();
    white_ = black_ = Look::Missing;
    cellSize_ = 0;
}

}  // namespace saltor
