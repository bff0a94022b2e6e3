#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "board/board_game.h"
#include "board/board_painter_win.h"
#include "board/gdi_objects.h"
#include "board/paint_plan.h"

namespace saltor {
namespace {

constexpr int kCell = 70;
constexpr int kBoard = 8 * kCell;
constexpr int kMargin = 10;                    // around the board, to catch drawing outside it
constexpr COLORREF kOutside = RGB(0, 255, 0);  // the margin's colour; the board never uses it

using Pixels = std::set<std::pair<int, int>>;

struct NullView : BoardView {
    void Beep(BeepKind) override {}
    void Invalidate(const PixelRect&, bool) override {}
    void RedrawAll() override {}
    void ShowReport(int, int, int) override {}
    void ShowCursor(CursorKind) override {}
};

struct NullHost : SearchHost {
    uint32_t TickCount() override { return 0; }
    bool PollCancel() override { return false; }
    void ShowBusy() override {}
    void SearchEnded() override {}
};

// A 32-bit top-down DIB section in a memory DC, filled with kOutside, whose origin sits `margin`
// pixels in: coordinates are the board's, and the margin shows anything drawn outside it.
class Canvas {
public:
    Canvas(int side, int margin) : full_(side + 2 * margin), margin_(margin) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = full_;
        info.bmiHeader.biHeight = -full_;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<uint32_t*>(bits);
        selected_.emplace(dc_.Get(), bitmap_.Get());
        std::fill(bits_, bits_ + full_ * full_, 0x00FF00u);  // kOutside as a DIB pixel
        SetViewportOrgEx(dc_.Get(), margin_, margin_, nullptr);
    }

    HDC Dc() const { return dc_.Get(); }

    COLORREF At(int x, int y) const {
        const uint32_t v = bits_[(y + margin_) * full_ + (x + margin_)];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

    // Pixels of exactly `color` in a rectangle (the whole canvas by default), relative to its
    // top-left corner.
    Pixels Find(COLORREF color, const PixelRect& r) const {
        Pixels found;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (At(x, y) == color) {
                    found.insert({x - r.left, y - r.top});
                }
            }
        }
        return found;
    }
    Pixels Find(COLORREF color) const {
        return Find(color, {-margin_, -margin_, full_ - margin_, full_ - margin_});
    }

private:
    int full_, margin_;
    UniqueMemoryDc dc_{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap_;
    uint32_t* bits_ = nullptr;
    std::optional<SelectedObject> selected_;
};

PixelRect BoundsOf(const Pixels& pixels) {
    PixelRect box{1 << 20, 1 << 20, -1, -1};
    for (const auto& [x, y] : pixels) {
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
    }
    return box;
}

class BoardPainterTest : public ::testing::Test {
protected:
    BoardPainterTest() {
        game.cellSize = kCell;
        settings.SolidColor = true;
    }

    void Play(std::initializer_list<Square> squares) {
        for (Square s : squares) {
            game.tour.Play(s);
        }
        game.tour.firstDoubtfulMove = game.tour.firstLostMove = NoMark;
    }

    void Paint() { EXPECT_EQ(PaintBoard(canvas.Dc(), game, settings), 0); }

    Pixels InSquare(Square s, COLORREF color) const {
        return canvas.Find(color, game.SquareRect(s));
    }

    void ExpectNothingOutside() const {
        EXPECT_EQ(canvas.Find(kOutside).size(), 4u * kMargin * (kBoard + kMargin));
    }

    NullView view;
    NullHost host;
    AppSettings settings;
    BoardGame game{view, host, settings};
    Canvas canvas{kBoard, kMargin};
};

TEST_F(BoardPainterTest, SquaresTakeTheirColourClassEdgeToEdge) {
    Paint();
    EXPECT_EQ(canvas.At(35, kBoard - 35), RGB(0, 0, 0));  // a1 black
    EXPECT_EQ(canvas.At(35, 35), RGB(255, 255, 255));     // a8 white

    settings.WhiteBgColor = RGB(200, 180, 120);
    settings.BlackBgColor = RGB(90, 60, 30);
    Paint();
    for (int index = 0; index < 64; ++index) {
        const Square s = SquareAt(index);
        const COLORREF want = (s.column + s.row) % 2 ? RGB(200, 180, 120) : RGB(90, 60, 30);
        EXPECT_EQ(InSquare(s, want).size(), 1u * kCell * kCell) << index;
    }
    ExpectNothingOutside();
}

TEST_F(BoardPainterTest, NumbersAreLargeAndCentredExceptTheLastMove) {
    settings.WhiteFgColor = RGB(0, 0, 255);
    settings.BlackFgColor = RGB(255, 128, 0);
    Play({{0, 0}, {1, 2}});
    Paint();

    // "1" on black a1: large, centred.
    const PixelRect one = BoundsOf(InSquare({0, 0}, RGB(255, 128, 0)));
    EXPECT_GE(one.bottom - one.top, 20);  // a digit of the 35-pixel font
    EXPECT_NEAR(one.top + one.bottom, kCell, 8);
    EXPECT_NEAR(one.left + one.right, kCell, 8);

    // "2" on white b3, the square just played: small, in the bottom-right corner.
    const Pixels two = InSquare({1, 2}, RGB(0, 0, 255));
    const PixelRect box = BoundsOf(two);
    EXPECT_LT(box.bottom - box.top, (one.bottom - one.top) / 2);
    EXPECT_GE(box.left, kCell / 2);
    EXPECT_GE(box.top, kCell / 2);
    EXPECT_GE(box.right, kCell - 10);

    // Neither colour anywhere else.
    EXPECT_EQ(canvas.Find(RGB(0, 0, 255)).size(), two.size());
    EXPECT_EQ(canvas.Find(RGB(255, 128, 0)).size(), InSquare({0, 0}, RGB(255, 128, 0)).size());
    ExpectNothingOutside();
}

// The mark's text drawn on its own in the mark font, as the painter should place it.
Pixels ReferenceMark(const wchar_t* text) {
    Canvas reference(kCell, 0);
    const UniqueFont font(CreateFontW(-kCell / 2, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    const SelectedObject selected(reference.Dc(), font.Get());
    SetBkMode(reference.Dc(), TRANSPARENT);
    SetTextColor(reference.Dc(), kMarkColor);
    RECT rect{0, 0, kCell, kCell};
    DrawTextW(reference.Dc(), text, 1, &rect, DT_SINGLELINE | DT_BOTTOM | DT_LEFT);
    return reference.Find(kMarkColor, {0, 0, kCell, kCell});
}

TEST_F(BoardPainterTest, MarksAreDrawnBottomLeftInTheMarkColour) {
    Play({{0, 0}, {1, 2}, {2, 4}});
    game.tour.firstDoubtfulMove = 1;
    game.tour.firstLostMove = 2;
    Paint();

    EXPECT_TRUE(InSquare({0, 0}, kMarkColor).empty());
    const Pixels question = InSquare({1, 2}, kMarkColor);
    const Pixels cross = InSquare({2, 4}, kMarkColor);
    ASSERT_FALSE(cross.empty());
    EXPECT_EQ(question, ReferenceMark(L"?"));
    EXPECT_EQ(cross, ReferenceMark(L"X"));
    const PixelRect box = BoundsOf(cross);
    EXPECT_LT(box.left, kCell / 4);
    EXPECT_GE(box.top, kCell / 3);
}

TEST_F(BoardPainterTest, HintShowsAThumbsUpOnItsSquareOnly) {
    Play({{0, 0}, {1, 2}});
    game.tour.searchPath[2] = {2, 4};
    game.hintSquare = {2, 4};
    Paint();

    // A sizeable figure, centred, and nothing of its colour elsewhere.
    const Pixels sign = InSquare({2, 4}, kMarkColor);
    const PixelRect box = BoundsOf(sign);
    EXPECT_GT(sign.size(), 1u * kCell * kCell / 6);
    EXPECT_GE(box.right - box.left, kCell / 2);
    EXPECT_GE(box.bottom - box.top, kCell / 2);
    EXPECT_NEAR(box.left + box.right, kCell, 10);
    EXPECT_NEAR(box.top + box.bottom, kCell, 10);
    EXPECT_EQ(canvas.Find(kMarkColor).size(), sign.size());
    ExpectNothingOutside();
}

// Counts the brushes and fonts this program makes and deletes, by pointing its import table
// entries for them at counting stand-ins. GetGuiResources says the same on Windows, but Wine
// always answers 0.
class GdiObjectCounter {
public:
    GdiObjectCounter() {
        created_ = live_ = 0;
        Hook("CreateSolidBrush", &Brush, &createBrush_);
        Hook("CreateFontIndirectW", &Font, &createFont_);
        Hook("DeleteObject", &Delete, &delete_);
    }
    ~GdiObjectCounter() {
        for (const auto& [slot, original] : hooks_) {
            Write(slot, original);
        }
    }
    GdiObjectCounter(const GdiObjectCounter&) = delete;
    GdiObjectCounter& operator=(const GdiObjectCounter&) = delete;

    int Created() const { return created_; }
    int Live() const { return live_; }

private:
    template <typename Function>
    void Hook(const char* name, Function* replacement, Function** original) {
        const auto target =
            reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), name));
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
            base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; module->Name != 0; ++module) {
            auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
            for (; slot->u1.Function != 0; ++slot) {
                if (slot->u1.Function == target) {
                    *original = reinterpret_cast<Function*>(target);
                    hooks_.push_back({&slot->u1.Function, slot->u1.Function});
                    Write(&slot->u1.Function, reinterpret_cast<ULONG_PTR>(replacement));
                    return;
                }
            }
        }
    }

    static void Write(ULONG_PTR* slot, ULONG_PTR value) {
        DWORD protection = 0;
        VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
        *slot = value;
        VirtualProtect(slot, sizeof(*slot), protection, &protection);
    }

    template <typename Handle>
    static Handle Count(Handle handle) {
        created_ += handle != nullptr ? 1 : 0;
        live_ += handle != nullptr ? 1 : 0;
        return handle;
    }
    static HBRUSH WINAPI Brush(COLORREF color) { return Count(createBrush_(color)); }
    static HFONT WINAPI Font(const LOGFONTW* font) { return Count(createFont_(font)); }
    static BOOL WINAPI Delete(HGDIOBJ object) {
        const BOOL deleted = delete_(object);
        live_ -= deleted != FALSE ? 1 : 0;
        return deleted;
    }

    static inline int created_ = 0, live_ = 0;
    static inline decltype(&CreateSolidBrush) createBrush_ = nullptr;
    static inline decltype(&CreateFontIndirectW) createFont_ = nullptr;
    static inline decltype(&DeleteObject) delete_ = nullptr;
    std::vector<std::pair<ULONG_PTR*, ULONG_PTR>> hooks_;
};

TEST_F(BoardPainterTest, PaintingLeavesTheDcAsItFoundItAndLeaksNothing) {
    Play({{0, 0}, {1, 2}, {2, 4}});
    game.tour.firstDoubtfulMove = 1;
    game.tour.searchPath[3] = {3, 6};
    game.hintSquare = {3, 6};
    settings.SolidColor = false;

    const HDC dc = canvas.Dc();
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(1, 2, 3));
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);

    Paint();
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    {
        const GdiObjectCounter counter;
        for (int k = 0; k < 200; ++k) {
            PaintBoard(dc, game, settings);
        }
        EXPECT_GE(counter.Created(), 200 * 4);  // two brushes and two fonts a paint at least
        EXPECT_EQ(counter.Live(), 0);
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);

    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
}

}  // namespace
}  // namespace saltor
