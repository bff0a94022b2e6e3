#pragma once

#include <windows.h>

#include <string>

#include "app/window_base.h"
#include "board/board_game.h"
#include "board/gdiplus_session.h"
#include "board/image_cache_win.h"
#include "board/win_search_host.h"
#include "settings/app_settings.h"

namespace saltor {

// The board's beeps and its end-of-game message box. Tests put in one that records instead of
// making noise or waiting for a click.
class BoardFeedback {
public:
    virtual ~BoardFeedback() = default;
    virtual void Beep(BeepKind kind);
    virtual void Report(HWND owner, const std::wstring& text);
};

// The board window: a thin adapter that turns its messages into BoardGame calls and does what the
// game asks of its view. It owns the game (and so the tour) and keeps GDI+ started.
class CChessBoardWnd : public CWindowBase, private BoardView {
public:
    explicit CChessBoardWnd(AppSettings& settings);
    ~CChessBoardWnd() override;

    // A visible child at the parent's client origin, 8 x Game().cellSize pixels square.
    HWND Create(HWND parent);

    BoardGame& Game() { return game_; }
    const BoardGame& Game() const { return game_; }

    // Scaled textures and knight picture; to be rebuilt whenever the look or the size changes.
    void BuildImageCache();
    const BoardImages& Images() const { return images_; }

    // Null puts back the default (MessageBeep and MessageBoxW). The board does not own it.
    void SetFeedback(BoardFeedback* feedback);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void Beep(BeepKind kind) override;
    void Invalidate(const PixelRect& rect, bool now) override;
    void RedrawAll() override;
    void ShowReport(int movesPlayed, int errors, int hints) override;
    void ShowCursor(CursorKind kind) override;

    // Declared first so that GDI+ is shut down last, once the window and its images are gone.
    GdiplusSession gdiplus_;
    BoardImages images_;
    AppSettings& settings_;
    WinSearchHost host_;
    BoardFeedback defaultFeedback_;
    BoardFeedback* feedback_ = &defaultFeedback_;
    BoardGame game_;
};

// String `id` of the program's string table, or `fallback` when the table lacks it.
std::wstring LoadResourceString(UINT id, const wchar_t* fallback);

// The report's text: each "%d" of `format` takes the next of the three counters, "%%" is a
// percent sign. Done by hand so a translated string with other directives cannot misbehave.
std::wstring FormatReport(const std::wstring& format, int movesPlayed, int errors, int hints);

}  // namespace saltor
