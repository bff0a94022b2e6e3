#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "winkit/desktop_win.h"
#include "winkit/handles_win.h"
#include "winkit/window_base_win.h"

namespace saltor {

// A sample square of the Preferences dialog: the background colour with a "1" in the text colour.
// A left click edits the text colour, a right click the background colour, each through a colour
// dialog titled with its caption. The owner reads the colours back when it needs them.
class CColorSquareWnd : public CWindowBase {
public:
    static constexpr DWORD kDefaultStyle =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    // Captions are cut to what the platform's 260-character buffers held.
    static constexpr size_t kMaxCaption = 259;

    explicit CColorSquareWnd(Desktop& desktop) : desktop_(desktop) {}
    ~CColorSquareWnd() override;

    HWND Create(HWND parent, const RECT& rect, DWORD style = kDefaultStyle, UINT_PTR id = 0);
    // A visible child exactly over `placeholder` (a control of the same parent), which stays.
    HWND CreateOver(HWND placeholder);

    COLORREF BackColor() const { return backColor_; }
    COLORREF TextColor() const { return textColor_; }
    void SetColors(COLORREF back, COLORREF text);
    // Titles of the dialogs that edit the background and the text colour.
    void SetCaptions(std::wstring_view back, std::wstring_view text);

    // Null until the first paint.
    HWND Tooltip() const { return tooltip_.Get(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void Paint(HDC dc);
    void CreateTooltip();
    void EditColor(COLORREF& color, const std::wstring& caption);

    Desktop& desktop_;
    // The platform gives a popup the top-level dialog as owner, not this control, so the tip is
    // destroyed with the control rather than with its owner.
    UniqueWindow tooltip_;
    bool tipPending_ = true;
    COLORREF backColor_ = RGB(255, 255, 255);
    COLORREF textColor_ = RGB(0, 0, 0);
    std::wstring backCaption_;
    std::wstring textCaption_;
};

}  // namespace saltor
