#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace saltor {

// What the windows ask of the desktop that would make a noise, wait for the player or leave the
// program: beeps, message boxes, the file and colour dialogs, the browser. Every window that needs
// one of them receives this interface; tests hand in one that records and answers at once.
class Desktop {
public:
    virtual void Beep(UINT type) = 0;  // as MessageBeep
    virtual int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption,
                            UINT type) = 0;            // as MessageBoxW
    virtual bool PickFile(OPENFILENAMEW& record) = 0;  // as GetOpenFileNameW
    virtual bool PickColor(CHOOSECOLORW& record) = 0;  // as ChooseColorW
    // Hands a page to the player's own browser.
    virtual void Browse(const std::wstring& page) = 0;

protected:
    ~Desktop() = default;
};

// The real thing. The browser is reached through Wine's winebrowser, which gives the file to the
// host system's browser: only used where Wine's own help viewer cannot show pages.
class SystemDesktop final : public Desktop {
public:
    void Beep(UINT type) override;
    int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption,
                    UINT type) override;
    bool PickFile(OPENFILENAMEW& record) override;
    bool PickColor(CHOOSECOLORW& record) override;
    void Browse(const std::wstring& page) override;
};

}  // namespace saltor
