#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "board/board_painter_win.h"
#include "board/paint_plan.h"
#include "reference/board_fakes.h"
#include "winkit/handles_win.h"

namespace saltor {
namespace {

constexpr int kCell = 70;
constexpr int kBoard = 8 * kCell;
constexpr int kMargin = 10;  // around the board, to catch drawing outside it
constexpr int kFull = kBoard + 2 * kMargin;
constexpr COLORREF kOutside = RGB(0, 255, 0);  // the margin's colour; the board never uses it
constexpr size_t kMarginPixels = 4 * kMargin * (kBoard + kMargin);

// The pixels of one colour found in a rectangle: how many, and their bounds relative to it.
struct Found {
    size_t count = 0;
    PixelRect box{kFull, kFull, -1, -1};
    int Height() const { return box.bottom - box.top; }
};

// Paints on a 32-bit top-down DIB section filled with kOutside, whose origin sits kMargin pixels
// in: coordinates are the board's, and the margin shows anything drawn outside it.
class BoardPainterTest : public testing::Test, protected FakeBoard {
protected:
    BoardPainterTest() {
        game.cellSize = kCell;
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), kFull, -kFull, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                        {}};
        void* bits = nullptr;
        bitmap.Reset(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels = static_cast<uint32_t*>(bits);
        selected.emplace(dc.Get(), bitmap.Get());
        std::fill(pixels, pixels + kFull * kFull, 0x00FF00u);  // kOutside as a DIB pixel
        SetViewportOrgEx(dc.Get(), kMargin, kMargin, nullptr);
    }

    void Paint() { EXPECT_EQ(PaintBoard(dc.Get(), game, settings), 0); }
    // By default the whole canvas is searched.
    Found Find(COLORREF color, const PixelRect& r = {-kMargin, -kMargin, kBoard + kMargin,
                                                     kBoard + kMargin}) const {
        Found found;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                const uint32_t v = pixels[(y + kMargin) * kFull + x + kMargin];
                if (RGB(v >> 16, v >> 8 & 0xFF, v & 0xFF) == color) {
                    PixelRect& b = found.box;
                    ++found.count;
                    b = {std::min(b.left, x - r.left), std::min(b.top, y - r.top),
                         std::max(b.right, x - r.left + 1), std::max(b.bottom, y - r.top + 1)};
                }
            }
        }
        return found;
    }
    Found InSquare(Square s, COLORREF color) const { return Find(color, game.SquareRect(s)); }

    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap;
    uint32_t* pixels = nullptr;
    std::optional<SelectedObject> selected;
};

TEST_F(BoardPainterTest, SquaresTakeTheirColourClassEdgeToEdge) {
    settings.WhiteBgColor = RGB(200, 180, 120);
    settings.BlackBgColor = RGB(90, 60, 30);
    Paint();
    for (int index = 0; index < 64; ++index) {
        const Square s = SquareAt(index);  // a1 is black
        const COLORREF want = (s.column + s.row) % 2 ? RGB(200, 180, 120) : RGB(90, 60, 30);
        EXPECT_EQ(InSquare(s, want).count, 1u * kCell * kCell) << index;
    }
    EXPECT_EQ(Find(kOutside).count, kMarginPixels);
}

TEST_F(BoardPainterTest, NumbersAreLargeAndCentredExceptTheLastMove) {
    settings.WhiteFgColor = RGB(0, 0, 255);
    settings.BlackFgColor = RGB(255, 128, 0);
    Place({{0, 0}, {1, 2}});
    Paint();

    // "1" on black a1: large, centred.
    const Found one = InSquare({0, 0}, RGB(255, 128, 0));
    EXPECT_GE(one.Height(), 20);  // a digit of the 35-pixel font
    EXPECT_NEAR(one.box.top + one.box.bottom, kCell, 8);
    EXPECT_NEAR(one.box.left + one.box.right, kCell, 8);

    // "2" on white b3, the square just played: small, in the bottom-right corner.
    const Found two = InSquare({1, 2}, RGB(0, 0, 255));
    EXPECT_LT(two.Height(), one.Height() / 2);
    EXPECT_GE(two.box.left, kCell / 2);
    EXPECT_GE(two.box.top, kCell / 2);

    // Neither colour anywhere else.
    EXPECT_EQ(Find(RGB(255, 128, 0)).count, one.count);
    EXPECT_EQ(Find(RGB(0, 0, 255)).count, two.count);
}

TEST_F(BoardPainterTest, MarksSitBottomLeftAndTheThumbsUpOnTheHintSquareOnly) {
    Place({{0, 0}, {1, 2}, {2, 4}});
    game.tour.firstDoubtfulMove = 1;
    game.tour.firstLostMove = 2;
    Hint({3, 6});
    Paint();

    EXPECT_EQ(InSquare({0, 0}, kMarkColor).count, 0u);
    const Found question = InSquare({1, 2}, kMarkColor);
    const Found cross = InSquare({2, 4}, kMarkColor);
    for (const Found& mark : {question, cross}) {
        EXPECT_GE(mark.Height(), kCell / 4);  // a glyph of the large font
        EXPECT_LT(mark.box.left, kCell / 4);
        EXPECT_GE(mark.box.top, kCell / 3);
    }

    // A sizeable figure, centred, and nothing else of the mark colour.
    const Found sign = InSquare({3, 6}, kMarkColor);
    EXPECT_GT(sign.count, 1u * kCell * kCell / 6);
    EXPECT_NEAR(sign.box.left + sign.box.right, kCell, 10);
    EXPECT_NEAR(sign.box.top + sign.box.bottom, kCell, 10);
    EXPECT_EQ(Find(kMarkColor).count, question.count + cross.count + sign.count);
    // Our own drawing has a light rim all round, a pixel or two wide.
    const Found rim = InSquare({3, 6}, kHintOutlineColor);
    EXPECT_GT(rim.count, 0u);
    EXPECT_EQ(rim.box.left + 1, sign.box.left);
    EXPECT_EQ(rim.box.top + 1, sign.box.top);
    EXPECT_EQ(rim.box.right - 1, sign.box.right);
    EXPECT_EQ(rim.box.bottom - 1, sign.box.bottom);
    EXPECT_EQ(Find(kOutside).count, kMarginPixels);
}

TEST_F(BoardPainterTest, PaintingLeaksNoGdiObjects) {
    Place({{0, 0}, {1, 2}, {2, 4}});
    Hint({3, 6});
    Paint();  // the first paint may load what stays loaded
    const DWORD before = GdiObjects();
    ASSERT_GT(before, 0u);
    for (int k = 0; k < 50; ++k) {
        Paint();
    }
    EXPECT_EQ(GdiObjects(), before);
}

}  // namespace
}  // namespace saltor
