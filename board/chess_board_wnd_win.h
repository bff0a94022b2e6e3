#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "board/board_game.h"
#include "board/image_cache_win.h"
#include "board/mark_tip_win.h"
#include "board/search_host_win.h"
#include "settings/app_settings.h"
#include "winkit/desktop_win.h"
#include "winkit/gdiplus_session_win.h"
#include "winkit/window_base_win.h"

namespace saltor {

// The board's command for the identifier of one of the five game buttons of the main window that
// the board handles ("?" and "Solution" reach it as ">" and ">|").
std::optional<BoardCommand> BoardCommandFor(int controlId);

// The board window: a thin adapter that turns its messages into BoardGame calls and does what the
// game asks of its view. It owns the game (and so the tour) and keeps GDI+ started. WM_COMMAND
// takes the main window's button identifiers.
class CChessBoardWnd : public CWindowBase, private BoardView {
public:
    CChessBoardWnd(AppSettings& settings, Desktop& desktop);
    ~CChessBoardWnd() override;

    // A visible child at the parent's client origin, 8 x CellSize pixels square; the game takes
    // the settings' square size first.
    HWND Create(HWND parent);

    BoardGame& Game() { return game_; }
    const BoardGame& Game() const { return game_; }

    // Scaled textures and knight picture; to be rebuilt whenever the look or the size changes.
    void BuildImageCache();
    // After the settings changed: the game takes their square size, the image cache is rebuilt
    // and the window takes its new size.
    void FollowSettings();
    const BoardImages& Images() const { return images_; }
    // The tour or the marks' visibility changed behind the board's back (a study loaded, "Pas
    // d'indices"): the mark's tip forgets, and the whole board is drawn again at once.
    void Refresh();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void Beep(BeepKind kind) override;
    void Invalidate(const PixelRect& rect, bool now) override;
    void RedrawAll() override;
    void ShowReport(int movesPlayed, int errors, int hints) override;
    void ShowReview(const std::wstring& text) override;
    void ShowCursor(CursorKind kind) override;

    // Declared first so that GDI+ is shut down last, once the window and its images are gone.
    GdiplusSession gdiplus_;
    BoardImages images_;
    AppSettings& settings_;
    WinSearchHost host_;
    Desktop& desktop_;
    BoardGame game_;
    CMarkTip markTip_;
};

}  // namespace saltor
