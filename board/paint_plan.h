#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "board/board_game.h"
#include "engine/square.h"
#include "settings/app_settings.h"

namespace saltor {

// DrawTextW flag sets, spelled out so that the plan needs no <windows.h>; the GDI painter checks
// them against the DT_ constants.
inline constexpr uint32_t kTextCentered = 0x25;     // single line, centred both ways
inline constexpr uint32_t kTextBottomRight = 0x2A;  // single line, bottom, right
inline constexpr uint32_t kTextBottomLeft = 0x28;   // single line, bottom, left

// Colour of the "?" and "X" marks and of the hint sign (0x00BBGGRR: dark red).
inline constexpr uint32_t kMarkColor = 0x0000C0;
// The thin rim around our own thumbs-up, so that it reads on dark wood too (a warm white).
inline constexpr uint32_t kHintOutlineColor = 0xF0FAFF;

enum class PlanFont { Large, Small };
enum class PlanTextKind { Number, Mark };

struct PixelPoint {
    int x = 0, y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct SquareFill {
    Square square;
    PixelRect rect;
    uint32_t color = 0;
};

struct PlanText {
    PlanTextKind kind = PlanTextKind::Number;
    Square square;
    PixelRect rect;
    std::wstring text;
    uint32_t color = 0;
    PlanFont font = PlanFont::Large;
    uint32_t flags = kTextCentered;
};

// Everything one paint of the board draws, in drawing order: square fills, texture tiles, the
// knight, numbers and marks, the hint sign. Font heights are character heights in pixels.
struct PaintPlan {
    int cellSize = 0;
    int largeFontHeight = 0;
    int smallFontHeight = 0;
    int hintFontHeight = 0;

    std::array<SquareFill, 64> squares{};

    // Top-left corners of the 2c x 2c texture tile's copies; drawn only when drawTiles is set.
    bool drawTiles = false;
    std::array<PixelPoint, 16> tileOrigins{};

    Square knightSquare = NoSquare;  // NoSquare: no knight on the board
    PixelRect knightRect;

    std::vector<PlanText> texts;  // numbers and marks, square by square in move order

    Square hintSquare = NoSquare;  // NoSquare: no hint sign
    PixelRect hintRect;

    // The arrival the player marked (empty when none), a ring drawn over the square.
    PixelRect arrivalRect;
    // A finished closed tour in browse mode: the jump from its last square back to its first,
    // between the squares' centres.
    bool drawClosingJump = false;
    PixelPoint closingFrom, closingTo;

    // The squares an explanation names, framed in the mark colour, last; a chain's with the
    // number of the first step naming each in a corner (0: none).
    std::vector<PixelRect> outlines;
    std::vector<int> outlineSteps;
    int outlineWidth = 0;
};

PaintPlan MakePaintPlan(const BoardGame& game, const AppSettings& settings);

}  // namespace saltor
