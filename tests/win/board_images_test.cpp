#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "board/board_painter_win.h"
#include "board/image_cache_win.h"
#include "reference/board_fakes.h"
#include "resources/resource.h"
#include "winkit/gdiplus_session_win.h"
#include "winkit/handles_win.h"

namespace saltor {
namespace {

constexpr COLORREF kWhite = RGB(250, 250, 250);
constexpr COLORREF kBlack = RGB(0, 0, 80);

// A file in the temporary folder, removed at the end.
class TempFile {
public:
    explicit TempFile(const std::string& bytes) {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        static int serial = 0;
        path_ = std::wstring(dir) + L"saltor-image-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++serial) + L".img";
        std::ofstream(path_.c_str(), std::ios::binary).write(bytes.data(), bytes.size());
    }
    ~TempFile() { DeleteFileW(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(value >> (8 * i) & 0xFF);
    }
    return out;
}

// A 24-bit BMP file of one colour.
std::string SolidBmp(int width, int height, COLORREF color) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<char>(GetBValue(color));
        row[x * 3 + 1] = static_cast<char>(GetGValue(color));
        row[x * 3 + 2] = static_cast<char>(GetRValue(color));
    }
    std::string file = "BM" + Le(54 + stride * height, 4) + Le(0, 4) + Le(54, 4) + Le(40, 4) +
                       Le(width, 4) + Le(height, 4) + Le(1, 2) + Le(24, 2) + Le(0, 24);
    for (int y = 0; y < height; ++y) {
        file += row;
    }
    return file;
}

std::string BuiltInKnightPng() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_KNIGHT_PNG), MAKEINTRESOURCEW(10));
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(bytes, SizeofResource(module, found));
}

// Builds the image cache and paints the board into a 32-bit DIB at the board's size.
class BoardImagesTest : public testing::Test, protected FakeBoard {
protected:
    BoardImagesTest() {
        settings.WhiteBgColor = kWhite;
        settings.BlackBgColor = kBlack;
    }

    void Paint(int cell) {
        game.cellSize = cell;
        images.Build(settings, cell, GetModuleHandleW(nullptr));
        side = 8 * cell;
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void* bits = nullptr;
        selected.reset();
        bitmap.Reset(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels = static_cast<uint32_t*>(bits);
        selected.emplace(dc.Get(), bitmap.Get());
        EXPECT_EQ(PaintBoard(dc.Get(), game, settings, &images), 0);
        GdiFlush();
    }
    COLORREF At(int x, int y) const {
        const uint32_t v = pixels[y * side + x];
        return RGB(v >> 16, v >> 8 & 0xFF, v & 0xFF);
    }
    // Mean colour of the squares of one colour class, and how many of their pixels are `plain`.
    struct Squares {
        double r = 0, g = 0, b = 0;
        int plain = 0;
    };
    Squares Measure(bool whiteSquares, COLORREF plain) const {
        Squares m;
        int count = 0;
        for (int index = 0; index < 64; ++index) {
            const Square s = SquareAt(index);
            if (((s.column + s.row) % 2 == 1) != whiteSquares) {
                continue;
            }
            const PixelRect r = game.SquareRect(s);
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) {
                    const COLORREF c = At(x, y);
                    m.r += GetRValue(c);
                    m.g += GetGValue(c);
                    m.b += GetBValue(c);
                    m.plain += c == plain ? 1 : 0;
                    ++count;
                }
            }
        }
        m.r /= count;
        m.g /= count;
        m.b /= count;
        return m;
    }

    GdiplusSession gdiplus;
    BoardImages images;
    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap;
    std::optional<SelectedObject> selected;
    uint32_t* pixels = nullptr;
    int side = 0;
};

TEST_F(BoardImagesTest, BuiltInWoodCoversEverySquareUnlessSolid) {
    for (const int cell : {70, 74}) {
        settings.SolidColor = true;
        Paint(cell);
        EXPECT_EQ(Measure(true, kWhite).plain, 32 * cell * cell) << cell;
        EXPECT_EQ(Measure(false, kBlack).plain, 32 * cell * cell) << cell;

        settings.SolidColor = false;
        Paint(cell);
        const Squares light = Measure(true, kWhite);
        const Squares dark = Measure(false, kBlack);
        EXPECT_NEAR(light.r, 224, 6) << cell;
        EXPECT_NEAR(light.g, 193, 6) << cell;
        EXPECT_NEAR(light.b, 121, 6) << cell;
        EXPECT_NEAR(dark.r, 103, 6) << cell;
        EXPECT_NEAR(dark.g, 39, 6) << cell;
        EXPECT_NEAR(dark.b, 13, 6) << cell;
        // Edge to edge: no plain colour left along the squares' borders.
        EXPECT_EQ(light.plain + dark.plain, 0) << cell;
    }
}

TEST_F(BoardImagesTest, TextureFilesAreStretchedAndMissingOnesLeaveThePlainColour) {
    const TempFile blue(SolidBmp(100, 40, RGB(0, 0, 255)));
    settings.WhiteImage = blue.Path();
    settings.BlackImage = L"C:\\no\\such\\wood.png";
    Paint(74);
    EXPECT_EQ(Measure(true, RGB(0, 0, 255)).plain, 32 * 74 * 74);
    EXPECT_EQ(Measure(false, kBlack).plain, 32 * 74 * 74);

    // The other way round: the built-in light wood, the dark squares plain.
    settings.WhiteImage.clear();
    const TempFile notAnImage("not a picture at all");
    settings.BlackImage = notAnImage.Path();
    Paint(70);
    EXPECT_NEAR(Measure(true, kWhite).g, 193, 6);
    EXPECT_EQ(Measure(false, kBlack).plain, 32 * 70 * 70);

    // A texture with transparency shows the plain colour through it: the knight picture's
    // empty corners on every black square, its figure in the middle.
    const TempFile figure(BuiltInKnightPng());
    settings.BlackImage = figure.Path();
    Paint(70);
    const Squares dark = Measure(false, kBlack);
    EXPECT_GT(dark.plain, 32 * 70 * 70 / 10);
    EXPECT_LT(dark.plain, 32 * 70 * 70 * 9 / 10);
    const PixelRect a1 = game.SquareRect({0, 0});
    EXPECT_EQ(At(a1.left, a1.top), kBlack);
    EXPECT_GT(GetGValue(At(a1.left + 35, a1.top + 35)), GetRValue(At(a1.left + 35, a1.top + 35)));
}

TEST_F(BoardImagesTest, TheKnightCoversOnlyItsOwnSquareAndIsFittedInIt) {
    settings.SolidColor = true;
    Place({{2, 3}});
    for (const int cell : {70, 74}) {
        Paint(cell);
        const PixelRect home = game.SquareRect({2, 3});
        int covered = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const bool inside =
                    x >= home.left && x < home.right && y >= home.top && y < home.bottom;
                const COLORREF plain = (x / cell + y / cell) % 2 == 0 ? kWhite : kBlack;
                if (At(x, y) != plain) {
                    EXPECT_TRUE(inside) << x << "," << y;
                    ++covered;
                }
            }
        }
        // The figurine and the small "1"; its transparent corners keep the square's colour.
        EXPECT_GT(covered, cell * cell / 4) << cell;
        EXPECT_EQ(At(home.left, home.top), kWhite);  // (2, 3) is a white square
        EXPECT_EQ(At(home.right - 1, home.top), kWhite);
        EXPECT_EQ(At(home.left, home.bottom - 1), kWhite);
    }

    // A 300 x 150 picture fills the width and is centred vertically: rows 17.5 to 52.5.
    const TempFile red(SolidBmp(300, 150, RGB(255, 0, 0)));
    settings.KnightImage = red.Path();
    Paint(70);
    const PixelRect home = game.SquareRect({2, 3});
    EXPECT_NE(At(home.left + 5, home.top + 17), RGB(255, 0, 0));
    EXPECT_EQ(At(home.left, home.top + 18), RGB(255, 0, 0));
    EXPECT_EQ(At(home.left + 69, home.top + 51), RGB(255, 0, 0));
    EXPECT_EQ(At(home.left + 5, home.top + 53), kWhite);
}

TEST_F(BoardImagesTest, BadKnightPicturesShowNoKnightAndHugeOnesAreNotDecoded) {
    const std::string png = BuiltInKnightPng();
    ASSERT_GT(png.size(), 1000u);
    // A valid 20,000 x 20,000 picture in a few bytes: a run-length coded BMP that ends at once.
    const std::string huge = "BM" + Le(64, 4) + Le(0, 4) + Le(62, 4) + Le(40, 4) + Le(20000, 4) +
                             Le(20000, 4) + Le(1, 2) + Le(8, 2) + Le(BI_RLE8, 4) + Le(2, 4) +
                             Le(0, 8) + Le(2, 4) + Le(0, 4) + Le(0, 4) + Le(0xFFFFFF, 4) +
                             Le(1 << 8, 2);
    const TempFile truncated(png.substr(0, png.size() / 2));
    const TempFile empty("");
    const TempFile text("just text");
    const TempFile giant(huge);
    const TempFile whole(png);
    for (const TempFile* file : {&truncated, &empty, &text, &giant}) {
        settings.KnightImage = file->Path();
        const DWORD start = GetTickCount();
        images.Build(settings, 70, GetModuleHandleW(nullptr));
        EXPECT_EQ(images.Knight(), nullptr);
        EXPECT_LT(GetTickCount() - start, 500u);  // decoding the giant takes 1.3 s and 1.6 GB
    }
    settings.KnightImage = L"Z:\\missing\\knight.png";
    images.Build(settings, 70, GetModuleHandleW(nullptr));
    EXPECT_EQ(images.Knight(), nullptr);
    settings.KnightImage = whole.Path();
    images.Build(settings, 70, GetModuleHandleW(nullptr));
    EXPECT_NE(images.Knight(), nullptr);
}

TEST_F(BoardImagesTest, RebuildingLeaksNoGdiObjects) {
    const TempFile blue(SolidBmp(10, 10, RGB(0, 0, 255)));
    images.Build(settings, 70, GetModuleHandleW(nullptr));
    const DWORD before = GdiObjects();
    for (int k = 0; k < 100; ++k) {
        // Every path: built-in pictures, a file, a missing file, two sizes.
        settings.WhiteImage = k % 3 == 1 ? blue.Path() : std::wstring();
        settings.BlackImage = k % 3 == 2 ? L"C:\\missing.bmp" : std::wstring();
        images.Build(settings, k % 2 ? 74 : 70, GetModuleHandleW(nullptr));
    }
    settings = AppSettings();
    images.Build(settings, 70, GetModuleHandleW(nullptr));
    EXPECT_EQ(GdiObjects(), before);
    images.Reset();
    EXPECT_EQ(GdiObjects(), before - 2);  // the tile and the knight
}

}  // namespace
}  // namespace saltor
