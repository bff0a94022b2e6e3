#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace saltor {

// Smallest square side in pixels at 100 % display scale; the board and the Preferences slider
// never go below it, scaled to the screen's DPI (MinCellSizeAt), unless the screen is too low for
// even that (then the largest size that fits wins).
inline constexpr int kMinCellSize = 70;
int MinCellSizeAt(int dpi);
// A square size in device pixels carried from one display scale to another, kept between the
// smallest size of the new scale and `maxCellSize` (which wins).
int RescaleCellSize(int cellSize, int fromDpi, int toDpi, int maxCellSize);

// The player's preferences. The twelve stored fields go to the settings file; the others last for
// one run. Colours are 0x00BBGGRR (red in the low byte).
struct AppSettings {
    std::wstring CursorFile;
    bool HandCursor = false;
    // The cursor shown over the board (an HCURSOR), resolved by ReloadBoardCursor. The deleter
    // destroys cursors loaded from files; shared system and resource cursors are never destroyed.
    std::shared_ptr<void> BoardCursor;
    bool SolidColor = false;
    int32_t CellSize = kMinCellSize;
    uint32_t WhiteBgColor = 0xFFFFFF;
    uint32_t BlackBgColor = 0x000000;
    uint32_t WhiteFgColor = 0x000000;
    uint32_t BlackFgColor = 0xFFFFFF;
    std::wstring WhiteImage;
    std::wstring BlackImage;
    std::wstring KnightImage;
    bool HintsEnabled = true;
    bool Mute = false;
    uint32_t CalcDuration = 1000;
    std::wstring HelpFilePath;

    // Defined by the Windows layer only (settings_file_win.cpp).
    void Load();
    bool Save() const;
    static int MaxCellSize();
    // Defined by the Windows layer only (board_cursor_win.cpp).
    void ReloadBoardCursor();

    static int MaxCellSizeFor(int workAreaHeight, int dialogFrameHeight, int captionHeight);
};

}  // namespace saltor
