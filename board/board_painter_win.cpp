#include "board/board_painter_win.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "board/image_cache_win.h"
#include "board/paint_plan.h"
#include "board/pixel_rect_win.h"
#include "winkit/handles_win.h"

namespace saltor {

static_assert(kTextCentered == (DT_SINGLELINE | DT_VCENTER | DT_CENTER));
static_assert(kTextBottomRight == (DT_SINGLELINE | DT_BOTTOM | DT_RIGHT));
static_assert(kTextBottomLeft == (DT_SINGLELINE | DT_BOTTOM | DT_LEFT));

namespace {

// The plan's colours are 0x00BBGGRR like COLORREF; a stray high byte would make GDI read the
// value as a palette index.
COLORREF ToColorRef(uint32_t color) {
    return static_cast<COLORREF>(color & 0x00FFFFFF);
}

UniqueFont MakeFont(const wchar_t* face, int characterHeight) {
    LOGFONTW font{};
    font.lfHeight = -characterHeight;  // negative: the character height, not the cell height
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&font));
}

// Transparent text background for one drawing step; the DC gets its mode and colour back.
class TextStyle {
public:
    explicit TextStyle(HDC dc)
        : dc_(dc), mode_(SetBkMode(dc, TRANSPARENT)), color_(GetTextColor(dc)) {}
    ~TextStyle() {
        SetTextColor(dc_, color_);
        SetBkMode(dc_, mode_);
    }
    TextStyle(const TextStyle&) = delete;
    TextStyle& operator=(const TextStyle&) = delete;

private:
    HDC dc_;
    int mode_;
    COLORREF color_;
};

void FillSquares(HDC dc, const PaintPlan& plan) {
    // One brush per colour, so two for the whole board.
    std::vector<std::pair<uint32_t, UniqueBrush>> brushes;
    for (const SquareFill& fill : plan.squares) {
        auto it = std::find_if(brushes.begin(), brushes.end(),
                               [&](const auto& b) { return b.first == fill.color; });
        if (it == brushes.end()) {
            brushes.emplace_back(fill.color, UniqueBrush(CreateSolidBrush(ToColorRef(fill.color))));
            it = std::prev(brushes.end());
        }
        if (it->second) {
            const RECT rect = ToRect(fill.rect);
            FillRect(dc, &rect, it->second.Get());
        }
    }
}

// Numbers and marks. The two fonts are made once for the whole board.
void DrawTexts(HDC dc, const PaintPlan& plan) {
    if (plan.texts.empty()) {
        return;
    }
    const UniqueFont large = MakeFont(L"Arial", plan.largeFontHeight);
    const UniqueFont small = MakeFont(L"Arial", plan.smallFontHeight);
    if (!large || !small) {
        return;
    }
    const TextStyle style(dc);
    SelectedObject selected(dc, large.Get());
    for (const PlanText& text : plan.texts) {
        selected.Select(text.font == PlanFont::Small ? small.Get() : large.Get());
        SetTextColor(dc, ToColorRef(text.color));
        RECT rect = ToRect(text.rect);
        DrawTextW(dc, text.text.c_str(), static_cast<int>(text.text.size()), &rect, text.flags);
    }
}

// Wingdings "C" is a thumbs-up where the real font is installed; Wine's Wingdings lacks it, and a
// missing Wingdings would be replaced by a font that draws a plain letter C. The fonts do not
// change while the program runs, so the answer is worked out once.
bool FontDrawsThumbsUp(HDC dc, HFONT font) {
    static int known = -1;
    if (known < 0) {
        const SelectedObject selected(dc, font);
        wchar_t face[LF_FACESIZE] = {};
        WORD glyph = 0xFFFF;
        const bool isWingdings =
            GetTextFaceW(dc, LF_FACESIZE, face) > 0 && lstrcmpiW(face, L"Wingdings") == 0;
        known = isWingdings &&
                GetGlyphIndicesW(dc, L"C", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
                glyph != 0xFFFF;
    }
    return known == 1;
}

// Copies of the tile from `source`, where it is selected. Two solid textures make a solid tile,
// copied whole; otherwise quadrant by quadrant, skipping a texture that could not be loaded.
void DrawTiles(HDC dc, HDC source, const PaintPlan& plan, const BoardImages& images) {
    using Look = BoardImages::Look;
    const int c = plan.cellSize;
    if (images.WhiteLook() == Look::Opaque && images.BlackLook() == Look::Opaque) {
        for (const PixelPoint& at : plan.tileOrigins) {
            BitBlt(dc, at.x, at.y, 2 * c, 2 * c, source, 0, 0, SRCCOPY);
        }
        return;
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const struct {
        Look look;
        int x, y;
    } quadrants[] = {{images.WhiteLook(), 0, 0},
                     {images.WhiteLook(), c, c},
                     {images.BlackLook(), c, 0},
                     {images.BlackLook(), 0, c}};
    for (const PixelPoint& at : plan.tileOrigins) {
        for (const auto& q : quadrants) {
            if (q.look == Look::Opaque) {
                BitBlt(dc, at.x + q.x, at.y + q.y, c, c, source, q.x, q.y, SRCCOPY);
            } else if (q.look == Look::Translucent) {
                AlphaBlend(dc, at.x + q.x, at.y + q.y, c, c, source, q.x, q.y, c, c, blend);
            }
        }
    }
}

// The tile's copies and the knight are plain pixel copies: the cache scaled them already.
void DrawImages(HDC dc, const PaintPlan& plan, const BoardImages& images) {
    // A cache built for another square size would not fit the squares.
    if (images.CellSize() != plan.cellSize) {
        return;
    }
    const bool tile = plan.drawTiles && images.Tile() != nullptr;
    const bool knight = IsOnBoard(plan.knightSquare) && images.Knight() != nullptr;
    if (!tile && !knight) {
        return;
    }
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source) {
        return;
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SelectedObject selected(source.Get(), tile ? images.Tile() : images.Knight());
    if (tile) {
        DrawTiles(dc, source.Get(), plan, images);
    }
    if (knight) {
        selected.Select(images.Knight());
        const PixelRect& r = plan.knightRect;
        AlphaBlend(dc, r.left, r.top, plan.cellSize, plan.cellSize, source.Get(), 0, 0,
                   plan.cellSize, plan.cellSize, blend);
    }
}

void DrawHintMark(HDC dc, const PaintPlan& plan) {
    const RECT square = ToRect(plan.hintRect);
    const UniqueFont font = MakeFont(L"Wingdings", plan.hintFontHeight);
    if (!font || !FontDrawsThumbsUp(dc, font.Get())) {
        DrawThumbsUp(dc, square, ToColorRef(kMarkColor), ToColorRef(kHintOutlineColor));
        return;
    }
    const TextStyle style(dc);
    const SelectedObject selected(dc, font.Get());
    SetTextColor(dc, ToColorRef(kMarkColor));
    RECT rect = square;
    DrawTextW(dc, L"C", 1, &rect, kTextCentered);
}

// A chain's step numbers: a tab in the frame's colour in the top left corner of the square,
// the number in the rim colour, so that the player reads the squares in the steps' order.
void DrawStepNumbers(HDC dc, const PaintPlan& plan, HBRUSH brush) {
    const UniqueFont font = MakeFont(L"Arial", plan.smallFontHeight);
    if (!font) {
        return;
    }
    const TextStyle style(dc);
    const SelectedObject selected(dc, font.Get());
    SetTextColor(dc, ToColorRef(kHintOutlineColor));
    const int side = plan.smallFontHeight + plan.outlineWidth;
    for (size_t i = 0; i < plan.outlines.size() && i < plan.outlineSteps.size(); ++i) {
        if (plan.outlineSteps[i] <= 0) {
            continue;
        }
        const PixelRect& r = plan.outlines[i];
        RECT tab{r.left, r.top, r.left + side, r.top + side};
        FillRect(dc, &tab, brush);
        const std::wstring number = std::to_wstring(plan.outlineSteps[i]);
        DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &tab, kTextCentered);
    }
}

// A frame inside each square an explanation names.
void DrawOutlines(HDC dc, const PaintPlan& plan) {
    const UniqueBrush brush(CreateSolidBrush(ToColorRef(kMarkColor)));
    if (!brush) {
        return;
    }
    for (const PixelRect& r : plan.outlines) {
        const int w = plan.outlineWidth;
        const RECT sides[] = {{r.left, r.top, r.right, r.top + w},
                              {r.left, r.bottom - w, r.right, r.bottom},
                              {r.left, r.top, r.left + w, r.bottom},
                              {r.right - w, r.top, r.right, r.bottom}};
        for (const RECT& side : sides) {
            FillRect(dc, &side, brush.Get());
        }
    }
    DrawStepNumbers(dc, plan, brush.Get());
}

// A pen of the mark colour over a wider one of the rim colour: a line or ring that reads on
// light and dark squares, wood or plain, at every size.
template <typename Draw>
void DrawRimmed(HDC dc, int width, const Draw& draw) {
    const UniquePen rim(
        CreatePen(PS_SOLID, width + 2 * std::max(1, width / 3), ToColorRef(kHintOutlineColor)));
    const UniquePen pen(CreatePen(PS_SOLID, width, ToColorRef(kMarkColor)));
    if (!rim || !pen) {
        return;
    }
    const SelectedObject hollow(dc, GetStockObject(HOLLOW_BRUSH));
    {
        const SelectedObject selected(dc, rim.Get());
        draw();
    }
    const SelectedObject selected(dc, pen.Get());
    draw();
}

// Our arrival mark: a ring inside the square with a cross of four short ticks pointing at its
// centre, like a sight, so that it reads at a glance and leaves the square's number readable.
void DrawArrival(HDC dc, const PaintPlan& plan) {
    const PixelRect& r = plan.arrivalRect;
    const int c = r.right - r.left;
    if (c <= 0) {
        return;
    }
    const int inset = c / 8, tick = c / 6;
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    DrawRimmed(dc, std::max(2, c / 20), [&] {
        Ellipse(dc, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
        const POINT ticks[4][2] = {{{midX, r.top + inset}, {midX, r.top + inset + tick}},
                                   {{midX, r.bottom - inset}, {midX, r.bottom - inset - tick}},
                                   {{r.left + inset, midY}, {r.left + inset + tick, midY}},
                                   {{r.right - inset, midY}, {r.right - inset - tick, midY}}};
        for (const auto& line : ticks) {
            Polyline(dc, line, 2);
        }
    });
}

// The jump that closes a closed tour: a line from the last square's centre back to the first's,
// with a dot at the first square.
void DrawClosingJump(HDC dc, const PaintPlan& plan) {
    const PixelPoint from = plan.closingFrom, to = plan.closingTo;
    const int dot = std::max(3, plan.cellSize / 8);
    DrawRimmed(dc, std::max(2, plan.cellSize / 16), [&] {
        const POINT line[] = {{from.x, from.y}, {to.x, to.y}};
        Polyline(dc, line, 2);
        Ellipse(dc, to.x - dot, to.y - dot, to.x + dot, to.y + dot);
    });
}

}  // namespace

// Draws the whole board; the window calls it for WM_ERASEBKGND and answers with the result.
// `images` is the board's image cache: the texture tile and the knight picture come from it.
int PaintBoard(HDC dc, const BoardGame& game, const AppSettings& settings,
               const BoardImages* images) {
    const PaintPlan plan = MakePaintPlan(game, settings);
    FillSquares(dc, plan);
    if (images != nullptr) {
        DrawImages(dc, plan, *images);
    }
    DrawTexts(dc, plan);
    DrawArrival(dc, plan);
    if (plan.drawClosingJump) {
        DrawClosingJump(dc, plan);
    }
    if (IsOnBoard(plan.hintSquare)) {
        DrawHintMark(dc, plan);
    }
    DrawOutlines(dc, plan);
    return 0;
}

// Our own thumbs-up: a fist seen from the side, fingers curled to the right, thumb raised, and a
// cuff at the wrist, in one colour with a thin rim of `outline` so it reads on any square. Drawn
// on a 100 x 100 grid scaled to nine tenths of the square and centred in it.
void DrawThumbsUp(HDC dc, const RECT& square, COLORREF color, COLORREF outline) {
    const int width = square.right - square.left;
    const int height = square.bottom - square.top;
    const int side = std::min(width, height) * 9 / 10;
    if (side <= 0) {
        return;
    }
    const int left = square.left + (width - side) / 2;
    const int top = square.top + (height - side) / 2;
    const auto x = [&](int u) { return left + (u * side + 50) / 100; };
    const auto y = [&](int v) { return top + (v * side + 50) / 100; };
    const auto d = [&](int u) { return (u * side + 50) / 100; };

    const auto drawFist = [&] {
        // Cuff, then the back of the hand.
        RoundRect(dc, x(6), y(46), x(24), y(96), d(6), d(6));
        RoundRect(dc, x(28), y(44), x(70), y(96), d(20), d(20));
        // Thumb: wide at the knuckle, narrowing a little to a round tip.
        const POINT thumb[] = {{x(30), y(56)}, {x(38), y(15)}, {x(60), y(15)}, {x(62), y(56)}};
        Polygon(dc, thumb, 4);
        Ellipse(dc, x(38), y(4), x(60), y(26));
        // Four curled fingers, stacked; their round ends leave notches between them.
        const int reach[] = {96, 94, 90, 84};
        for (int k = 0; k < 4; ++k) {
            RoundRect(dc, x(46), y(44 + 13 * k), x(reach[k]), y(57 + 13 * k), d(13), d(13));
        }
    };

    // The rim: the same shapes drawn first with a pen that reaches `rim` pixels past their edge
    // on every side (an odd width is centred on it); the fist drawn over them leaves only that.
    const int rim = std::max(1, side / 40);
    const UniqueBrush rimBrush(CreateSolidBrush(outline));
    const UniquePen rimPen(CreatePen(PS_SOLID, 2 * rim + 1, outline));
    const UniqueBrush brush(CreateSolidBrush(color));
    if (!rimBrush || !rimPen || !brush) {
        return;
    }
    SelectedObject selectedBrush(dc, rimBrush.Get());
    SelectedObject selectedPen(dc, rimPen.Get());
    drawFist();
    selectedBrush.Select(brush.Get());
    selectedPen.Select(GetStockObject(NULL_PEN));
    drawFist();
}

}  // namespace saltor
