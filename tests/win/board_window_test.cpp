#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "board/board_painter_win.h"
#include "board/chess_board_wnd_win.h"
#include "board/image_cache_win.h"
#include "board/paint_plan.h"
#include "hostile_files.h"
#include "recording_desktop.h"
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
    PixelRect box{1 << 20, 1 << 20, -1, -1};
    int Height() const { return box.bottom - box.top; }
};

// Paints the board with its pictures on a 32-bit DIB section filled with kOutside, whose
// origin sits kMargin pixels in: coordinates are the board's, the margin shows any overflow.
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
    // By default the whole canvas.
    Found Find(COLORREF color, std::optional<PixelRect> within = std::nullopt) const {
        const PixelRect r =
            within.value_or(PixelRect{-kMargin, -kMargin, full - kMargin, full - kMargin});
        Found found;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (At(x, y) == color) {
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
    // Mean colour over the squares of one class, and how many of their pixels are `plain`.
    std::array<int, 4> Squares(bool white, COLORREF plain) const {
        std::array<long, 4> sum{};
        for (int index = 0; index < 64; ++index) {
            const Square s = SquareAt(index);
            const PixelRect r = game.SquareRect(s);
            for (int y = r.top; (s.column + s.row) % 2 == int(white) && y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) {
                    const COLORREF c = At(x, y);
                    sum = {sum[0] + GetRValue(c), sum[1] + GetGValue(c), sum[2] + GetBValue(c),
                           sum[3] + (c == plain)};
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
    const std::wstring blue = (folder / L"bleu.bmp").wstring(),
                       figure = (folder / L"f.png").wstring();
    WriteBytes(blue, SolidBmp(100, 40, RGB(0, 0, 255)));
    WriteBytes(figure, KnightPngBytes());
    const struct {
        bool solid;
        std::wstring white, black;
        int cell;
        std::array<int, 4> light, dark;  // mean R, G, B and the share of plain pixels (%)
    } cases[] = {
        {true, L"", L"", 70, {250, 250, 250, 100}, {0, 0, 80, 100}},
        {false, L"", L"", 70, {224, 193, 121, 0}, {103, 39, 13, 0}},
        {false, L"", L"", 74, {224, 193, 121, 0}, {103, 39, 13, 0}},
        {false, blue, L"C:\\no\\such\\wood.png", 74, {0, 0, 255, 0}, {0, 0, 80, 100}},
        {false, L"", figure, 70, {224, 193, 121, 0}, {-1, -1, -1, 50}},
    };
    for (const auto& c : cases) {
        settings.SolidColor = c.solid;
        settings.WhiteImage = c.white;
        settings.BlackImage = c.black;
        Paint(c.cell);
        for (const auto& [white, want] : {std::pair{true, c.light}, {false, c.dark}}) {
            const std::array<int, 4> got = Squares(white, white ? kWhite : kBlack);
            for (int k = 0; k < 4; ++k) {
                if (want[k] >= 0) {
                    EXPECT_NEAR(got[k], want[k], k < 3 ? 6 : 40) << c.cell << " " << white << k;
                }
            }
        }
        EXPECT_EQ(Find(kOutside).count, 4 * kMargin * (8 * c.cell + kMargin)) << c.cell;
    }
    // The knight picture's empty corners show the plain colour, its figure in the middle.
    const PixelRect a1 = game.SquareRect({0, 0});
    EXPECT_EQ(At(a1.left, a1.top), kBlack);
    EXPECT_NE(At(a1.left + 35, a1.top + 35), kBlack);
    // Pictures scaled for another size are not used: plain squares rather than misfits.
    Paint(74, 70);
    EXPECT_EQ(Squares(true, kWhite)[3], 100);
}

TEST_F(BoardPaintTest, NumbersAreLargeAndCentredExceptTheLastMoveAndMarksSitBottomLeft) {
    settings.SolidColor = true;
    settings.WhiteFgColor = RGB(0, 0, 255);
    settings.BlackFgColor = RGB(255, 128, 0);
    Place({{0, 0}, {1, 2}, {2, 4}});
    game.tour.firstDoubtfulMove = 1;
    game.tour.firstLostMove = 2;
    Hint({3, 6});
    Paint(70, 0);

    // "1" on black a1: large and centred. "3" on black c5, the square just played: small, in the
    // bottom-right corner. "2" on white b3. Neither colour anywhere else.
    const Found one = InSquare({0, 0}, RGB(255, 128, 0));
    EXPECT_GE(one.Height(), 20);  // a digit of the 35-pixel font
    EXPECT_NEAR(one.box.top + one.box.bottom, 70, 8);
    EXPECT_NEAR(one.box.left + one.box.right, 70, 8);
    const Found three = InSquare({2, 4}, RGB(255, 128, 0));
    EXPECT_LT(three.Height(), one.Height() / 2);
    EXPECT_GE(three.box.left, 35);
    EXPECT_GE(three.box.top, 35);
    EXPECT_EQ(Find(RGB(255, 128, 0)).count, one.count + three.count);
    EXPECT_EQ(Find(RGB(0, 0, 255)).count, InSquare({1, 2}, RGB(0, 0, 255)).count);
    EXPECT_GE(InSquare({1, 2}, RGB(0, 0, 255)).Height(), 20);

    // "?" on b3 and "X" on c5, bottom left in the large font.
    EXPECT_EQ(InSquare({0, 0}, kMarkColor).count, 0);
    const Found question = InSquare({1, 2}, kMarkColor), cross = InSquare({2, 4}, kMarkColor);
    for (const Found& mark : {question, cross}) {
        EXPECT_GE(mark.Height(), 70 / 4);
        EXPECT_LT(mark.box.left, 70 / 4);
        EXPECT_GE(mark.box.top, 70 / 3);
    }
    // The thumbs-up on the hint square: a sizeable figure, centred, in a light rim.
    const Found sign = InSquare({3, 6}, kMarkColor), rim = InSquare({3, 6}, kHintOutlineColor);
    EXPECT_GT(sign.count, 70 * 70 / 6);
    EXPECT_NEAR(sign.box.left + sign.box.right, 70, 10);
    EXPECT_NEAR(sign.box.top + sign.box.bottom, 70, 10);
    EXPECT_EQ(Find(kMarkColor).count, question.count + cross.count + sign.count);
    EXPECT_EQ(
        (std::array{rim.box.left + 1, rim.box.top + 1, rim.box.right - 1, rim.box.bottom - 1}),
        (std::array{sign.box.left, sign.box.top, sign.box.right, sign.box.bottom}));
}

TEST_F(BoardPaintTest, TheKnightCoversOnlyItsOwnSquareAndIsFittedInIt) {
    settings.SolidColor = true;
    Place({{2, 3}});
    for (const int cell : {70, 74}) {
        Paint(cell);
        const PixelRect home = game.SquareRect({2, 3});
        int covered = 0, outside = 0;
        for (int y = 0; y < 8 * cell; ++y) {
            for (int x = 0; x < 8 * cell; ++x) {
                const bool inside =
                    x >= home.left && x < home.right && y >= home.top && y < home.bottom;
                const bool plain = At(x, y) == ((x / cell + y / cell) % 2 == 0 ? kWhite : kBlack);
                covered += inside && !plain;
                outside += !inside && !plain;
            }
        }
        // The figurine and the small "1"; its transparent corners keep the square's colour.
        EXPECT_GT(covered, cell * cell / 4) << cell;
        EXPECT_EQ(outside, 0) << cell;
        EXPECT_EQ(At(home.left, home.top), kWhite);
        EXPECT_EQ(At(home.right - 1, home.bottom - 1), kWhite);
    }
    // A 300 x 150 picture fills the width and is centred vertically: rows 17.5 to 52.5.
    const ScratchFolder folder("knight");
    WriteBytes(folder / L"rouge.bmp", SolidBmp(300, 150, RGB(255, 0, 0)));
    settings.KnightImage = (folder / L"rouge.bmp").wstring();
    Paint(70);
    const Found red = InSquare({2, 3}, RGB(255, 0, 0));
    EXPECT_EQ((std::array{red.box.left, red.box.top, red.box.right}), (std::array{0, 18, 70}));
    EXPECT_NEAR(red.box.bottom, 52.5, 0.5);
}

constexpr int kCell = 60;

// The rules themselves are tested natively; here, that the window's messages reach them.
class BoardWindowTest : public testing::Test {
protected:
    void SetUp() override {
        settings.CellSize = kCell;
        settings.CalcDuration = 60000;
        // A plain top-level window stands in for the main window.
        parent = CreateWindowExW(0, L"STATIC", L"Saltor", WS_POPUP | WS_VISIBLE, 100, 100, 700, 600,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        ASSERT_NE(board.Create(parent), nullptr);
    }
    void TearDown() override { DestroyWindow(parent); }

    const TourState& Tour() { return board.Game().tour; }
    void Click(Square s) {
        SendMessageW(board.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(s.column * kCell + kCell / 2, (7 - s.row) * kCell + kCell / 2));
    }
    LRESULT Command(int id) { return SendMessageW(board.Hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::pair<LONG, LONG> Size() const {
        RECT r{};
        GetWindowRect(board.Hwnd(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    AppSettings settings;
    RecordingDesktop desktop;
    HWND parent = nullptr;
    CChessBoardWnd board{settings, desktop};
};

TEST_F(BoardWindowTest, ClicksCommandsAndSizesReachTheGame) {
    SetWindowPos(board.Hwnd(), nullptr, 0, 0, 100, 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Size(), std::pair(8L * kCell, 8L * kCell));
    settings.CellSize = 75;
    SendMessageW(board.Hwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(480, 480));
    EXPECT_EQ(Size(), std::pair(600L, 600L));
    EXPECT_EQ(board.Game().cellSize, kCell);  // the squares follow only when told to
    board.FollowSettings();
    EXPECT_EQ(board.Game().cellSize, 75);
    EXPECT_EQ(board.Images().CellSize(), 75);
    settings.CellSize = kCell;
    board.FollowSettings();

    SetFocus(parent);
    Click({0, 0});
    EXPECT_EQ(GetFocus(), board.Hwnd());
    Click({1, 2});
    Click({1, 2});  // visited: refused
    EXPECT_EQ(Tour().moveCount, 2);
    EXPECT_EQ(desktop.beeps, std::vector<BeepKind>{BeepKind::Plain});
    EXPECT_EQ(Command(IDC_FORWARD), 0);
    EXPECT_EQ(board.Game().hintCount, 1);
    Command(IDC_BACK);
    EXPECT_EQ(Tour().moveCount, 1);
    Command(IDC_LAST);
    EXPECT_TRUE(Tour().IsComplete());
    Command(IDC_FIRST);
    EXPECT_EQ(board.Game().browseIndex, 0);
    Command(IDC_SOLVE);  // not the board's: nothing happens
    EXPECT_EQ(board.Game().browseIndex, 0);
    Command(IDC_NEW_GAME);
    EXPECT_EQ(Tour().moveCount, 0);

    // Played to the end by hand, one more hint taken: the report, in French, owned by the board,
    // counts the hints of the whole run.
    const std::array<Square, 64> tour = TourFromA1();
    for (int i = 0; i < 64; ++i) {
        Click(tour[i]);
        if (i == 30) {
            Command(IDC_FORWARD);
        }
    }
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text,
              L"Bravo !\n\nR\u00e9sultats :\n - coups jou\u00e9s :\t64\n - erreurs :\t0\n"
              L" - conseils :\t2");
    EXPECT_EQ(desktop.boxes[0].owner, board.Hwnd());
    EXPECT_EQ(desktop.boxes[0].caption, L"Cavalier Saltor");
}

TEST_F(BoardWindowTest, AKeyOrAQuitDuringASearchStopsIt) {
    Click({3, 3});  // from d4 alone the search has to back up
    PostMessageW(board.Hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    Command(IDC_LAST);
    EXPECT_EQ(Tour().moveCount, 1);
    EXPECT_EQ(Tour().errorCount, 1);
    EXPECT_EQ(desktop.beeps, std::vector<BeepKind>{BeepKind::Exclamation});
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, board.Hwnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));  // consumed

    // A quit request is kept for the message loop.
    PostQuitMessage(7);
    Command(IDC_LAST);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);

    // With nothing in the queue the same search runs to its tour.
    Command(IDC_LAST);
    EXPECT_TRUE(Tour().IsComplete());

    // A search with no board window leaves the thread's queue alone.
    WinSearchHost host;
    TourState alone;
    alone.Play({3, 3});
    PostMessageW(parent, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(TourSearch(alone, host).Solve(true, 60000));
    EXPECT_TRUE(PeekMessageW(&msg, parent, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
}

}  // namespace
}  // namespace saltor
