#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "board/board_painter_win.h"
#include "board/image_cache_win.h"
#include "board/paint_plan.h"
#include "hostile_files.h"
#include "main_dlg_fixture.h"
#include "reference/board_fakes.h"
#include "winkit/gdiplus_session_win.h"

namespace saltor {
namespace {

constexpr int kMargin = 10;                    // around the board, to catch drawing outside it
constexpr COLORREF kOutside = RGB(0, 255, 0);  // the margin's colour; the board never uses it
constexpr COLORREF kWhite = RGB(250, 250, 250), kBlack = RGB(0, 0, 80);

// A 24-bit BMP file of one colour.
std::string SolidBmp(int width, int height, COLORREF color) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row.replace(static_cast<size_t>(x) * 3, 3,
                    {char(GetBValue(color)), char(GetGValue(color)), char(GetRValue(color))});
    }
    std::string file = "BM" + LittleEndian(54 + stride * height, 4) + LittleEndian(0, 4) +
                       LittleEndian(54, 4) + LittleEndian(40, 4) + LittleEndian(width, 4) +
                       LittleEndian(height, 4) + LittleEndian(1, 2) + LittleEndian(24, 2) +
                       std::string(24, '\0');
    for (int y = 0; y < height; ++y) {
        file += row;
    }
    return file;
}

// The pixels of one colour found in a rectangle: how many, and their bounds relative to it.
struct Found {
    int count = 0;
    std::array<int, 4> box{1 << 20, 1 << 20, -1, -1};  // left, top, right, bottom
    int Height() const { return box[3] - box[1]; }
};

// Paints the board with its pictures on a 32-bit DIB section filled with kOutside, whose origin
// sits kMargin pixels in: coordinates are the board's, and the margin shows any overflow.
class BoardPaintTest : public testing::Test, protected FakeBoard {
protected:
    BoardPaintTest() {
        settings.WhiteBgColor = kWhite;
        settings.BlackBgColor = kBlack;
    }
    // With the pictures scaled for `imagesAt` pixels (none for 0).
    void Paint(int cell, int imagesAt = -1) {
        game.cellSize = cell;
        images.Build(settings, imagesAt < 0 ? cell : imagesAt, GetModuleHandleW(nullptr));
        full = 8 * cell + 2 * kMargin;
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), full, -full, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void* bits = nullptr;
        selected.reset();
        bitmap.Reset(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels = static_cast<uint32_t*>(bits);
        std::fill(pixels, pixels + full * full, 0x00FF00u);  // kOutside as a DIB pixel
        selected.emplace(dc.Get(), bitmap.Get());
        SetViewportOrgEx(dc.Get(), kMargin, kMargin, nullptr);
        EXPECT_EQ(PaintBoard(dc.Get(), game, settings, imagesAt == 0 ? nullptr : &images), 0);
        GdiFlush();
    }
    COLORREF At(int x, int y) const {
        const uint32_t v = pixels[(y + kMargin) * full + x + kMargin];
        return RGB(v >> 16, v >> 8 & 0xFF, v & 0xFF);
    }
    // In one square, or by default on the whole canvas.
    Found Find(COLORREF color, std::optional<Square> square = std::nullopt) const {
        const PixelRect r = square ? game.SquareRect(*square)
                                   : PixelRect{-kMargin, -kMargin, full - kMargin, full - kMargin};
        Found f;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (At(x, y) == color) {
                    ++f.count;
                    f.box = {std::min(f.box[0], x - r.left), std::min(f.box[1], y - r.top),
                             std::max(f.box[2], x - r.left + 1), std::max(f.box[3], y - r.top + 1)};
                }
            }
        }
        return f;
    }
    // Over the squares of one colour: the mean red, green and blue, and the share of `plain`
    // pixels in percent.
    std::array<int, 4> Squares(bool white, COLORREF plain) const {
        std::array<long, 4> sum{};
        for (int index = 0; index < 64; ++index) {
            const PixelRect r = game.SquareRect(SquareAt(index));
            for (int y = r.top;
                 (SquareAt(index).column + SquareAt(index).row) % 2 == white && y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) {
                    const COLORREF c = At(x, y);
                    sum = {sum[0] + GetRValue(c), sum[1] + GetGValue(c), sum[2] + GetBValue(c),
                           sum[3] + (c == plain || c == 0)};  // nor a black gap in a picture
                }
            }
        }
        const long n = 32L * game.cellSize * game.cellSize;
        return {int(sum[0] / n), int(sum[1] / n), int(sum[2] / n), int(sum[3] * 100 / n)};
    }

    GdiplusSession gdiplus;
    BoardImages images;
    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap;
    std::optional<SelectedObject> selected;
    uint32_t* pixels = nullptr;
    int full = 0;
};

// Plain colours, the built-in wood, a picture stretched over each square, one with transparency
// over the plain colour, one that cannot be had: always edge to edge, never past the board.
TEST_F(BoardPaintTest, SquaresTakeTheirColourOrPictureEdgeToEdge) {
    const ScratchFolder folder("paint");
    WriteBytes(folder / L"bleu.bmp", SolidBmp(100, 40, RGB(0, 0, 255)));
    WriteBytes(folder / L"ligne.bmp", SolidBmp(4, 1, RGB(255, 0, 0)));
    WriteBytes(folder / L"f.png", KnightPngBytes());
    const struct {
        bool solid;
        std::wstring white, black;
        int cell;
        std::array<int, 4> light, dark;  // Squares(): -1 for no check
    } cases[] = {
        {true, L"", L"", 70, {250, 250, 250, 100}, {0, 0, 80, 100}},
        {false, L"", L"", 70, {224, 193, 121, 0}, {103, 39, 13, 0}},
        {false, L"", L"", 74, {224, 193, 121, 0}, {103, 39, 13, 0}},
        {false,
         (folder / L"bleu.bmp").wstring(),
         L"C:\\nul.png",
         74,
         {0, 0, 255, 0},
         {0, 0, 80, 100}},
        {false, (folder / L"ligne.bmp").wstring(), L"", 70, {255, 0, 0, 0}, {103, 39, 13, 0}},
        {false, L"", (folder / L"f.png").wstring(), 70, {224, 193, 121, 0}, {-1, -1, -1, 50}},
    };
    for (const auto& c : cases) {
        settings.SolidColor = c.solid;
        settings.WhiteImage = c.white;
        settings.BlackImage = c.black;
        Paint(c.cell);
        for (const auto& [white, want] : {std::pair{true, c.light}, {false, c.dark}}) {
            const std::array<int, 4> got = Squares(white, white ? kWhite : kBlack);
            for (int k = 0; k < 4; ++k) {
                EXPECT_NEAR(got[k], want[k] < 0 ? got[k] : want[k], k < 3 ? 6 : 40)
                    << c.cell << (white ? " white " : " black ") << k;
            }
        }
        EXPECT_EQ(Find(kOutside).count, 4 * kMargin * (8 * c.cell + kMargin)) << c.cell;
    }
    // The knight picture's empty corners show the plain colour, its figure the middle.
    const PixelRect a1 = game.SquareRect({0, 0});
    EXPECT_EQ(At(a1.left, a1.top), kBlack);
    EXPECT_NE(At(a1.left + 35, a1.top + 35), kBlack);
    Paint(74, 70);  // pictures scaled for another size: plain squares rather than misfits
    EXPECT_EQ(Squares(true, kWhite)[3], 100);
}

TEST_F(BoardPaintTest, NumbersMarksAndTheHintSignTakeTheirPlaces) {
    settings.SolidColor = true;
    settings.WhiteFgColor = RGB(0, 0, 255);
    settings.BlackFgColor = RGB(255, 128, 0);
    Place({{0, 0}, {1, 2}, {2, 4}});
    game.tour.firstDoubtfulMove = 1;
    game.tour.firstLostMove = 2;
    Hint({3, 6});
    Paint(70, 0);

    // "1" on black a1 and "2" on white b3: large and centred. "3" on black c5, the square just
    // played: small, bottom right. Neither colour anywhere else.
    const Found one = Find(RGB(255, 128, 0), Square{0, 0}),
                two = Find(RGB(0, 0, 255), Square{1, 2});
    const Found three = Find(RGB(255, 128, 0), Square{2, 4});
    EXPECT_GE(std::min(one.Height(), two.Height()), 20);  // digits of the 35-pixel font
    EXPECT_NEAR(one.box[1] + one.box[3], 70, 8);
    EXPECT_NEAR(one.box[0] + one.box[2], 70, 8);
    EXPECT_LT(three.Height(), one.Height() / 2);
    EXPECT_GE(std::min(three.box[0], three.box[1]), 35);
    EXPECT_EQ(Find(RGB(255, 128, 0)).count, one.count + three.count);
    EXPECT_EQ(Find(RGB(0, 0, 255)).count, two.count);

    // "?" on b3 and "X" on c5, bottom left in the large font; none on a1.
    EXPECT_EQ(Find(kMarkColor, Square{0, 0}).count, 0);
    const Found question = Find(kMarkColor, Square{1, 2}), cross = Find(kMarkColor, Square{2, 4});
    for (const Found& mark : {question, cross}) {
        EXPECT_GE(mark.Height(), 70 / 4);
        EXPECT_LT(mark.box[0], 70 / 4);
        EXPECT_GE(mark.box[1], 70 / 3);
    }
    // The thumbs-up on the hint square: a sizeable figure, centred, in a light rim.
    const Found sign = Find(kMarkColor, Square{3, 6}), rim = Find(kHintOutlineColor, Square{3, 6});
    EXPECT_GT(sign.count, 70 * 70 / 6);
    EXPECT_GE(sign.Height(), 70 * 8 / 10);  // thumb tip to cuff: most of the square
    EXPECT_NEAR(sign.box[0] + sign.box[2], 70, 10);
    EXPECT_NEAR(sign.box[1] + sign.box[3], 70, 10);
    EXPECT_EQ(Find(kMarkColor).count, question.count + cross.count + sign.count);
    EXPECT_EQ(rim.box,
              (std::array{sign.box[0] - 1, sign.box[1] - 1, sign.box[2] + 1, sign.box[3] + 1}));
}

TEST_F(BoardPaintTest, TheKnightCoversOnlyItsOwnSquareAndIsFittedInIt) {
    settings.SolidColor = true;
    Place({{2, 3}});
    const auto plainOutside = [this](int cell) {
        for (int at = 0; at < 64 * cell * cell; ++at) {
            const int x = at % (8 * cell), y = at / (8 * cell);
            if (!(x / cell == 2 && y / cell == 4) &&
                At(x, y) != ((x / cell + y / cell) % 2 == 0 ? kWhite : kBlack)) {
                return false;
            }
        }
        return true;
    };
    for (const int cell : {70, 74}) {
        Paint(cell);
        EXPECT_TRUE(plainOutside(cell)) << cell;
        // The figurine and the small "1"; its transparent corners keep the square's colour.
        EXPECT_LT(Find(kWhite, Square{2, 3}).count, cell * cell * 3 / 4) << cell;
        const PixelRect home = game.SquareRect({2, 3});
        EXPECT_EQ(At(home.left, home.top), kWhite);
        EXPECT_EQ(At(home.right - 1, home.bottom - 1), kWhite);
    }
    // A 300 x 150 picture fills the width and is centred vertically: rows 17.5 to 52.5.
    const ScratchFolder folder("knight");
    WriteBytes(folder / L"rouge.bmp", SolidBmp(300, 150, RGB(255, 0, 0)));
    settings.KnightImage = (folder / L"rouge.bmp").wstring();
    Paint(70);
    const Found red = Find(RGB(255, 0, 0), Square{2, 3});
    EXPECT_EQ(std::vector(red.box.begin(), red.box.begin() + 3), (std::vector{0, 18, 70}));
    EXPECT_NEAR(red.box[3], 52.5, 0.5);
}

// A search with no board window leaves the thread's queue alone (the board's own searches are
// in scenarios/board-search.txt).
TEST(SearchHostTest, ASearchWithNoBoardWindowLeavesTheQueueAlone) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
    WinSearchHost host;
    TourState alone;
    alone.Play({3, 3});
    PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(TourSearch(alone, host).Solve(true, 60000));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    DestroyWindow(window);
}

}  // namespace
}  // namespace saltor
