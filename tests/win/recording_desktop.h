#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "board/board_game.h"
#include "winkit/desktop_win.h"

namespace saltor {

// A desktop that never makes a noise nor waits: it records the beeps, boxes and pages, and the
// file and colour dialogs answer through the functions given (cancelled when none is).
class RecordingDesktop final : public Desktop {
public:
    struct Box {
        HWND owner;
        std::wstring text;
        std::wstring caption;
    };
    std::vector<BeepKind> beeps;
    std::vector<Box> boxes;
    std::vector<std::wstring> pages;
    BOOL(WINAPI* pickFile)(OPENFILENAMEW*) = nullptr;
    BOOL(WINAPI* pickColor)(CHOOSECOLORW*) = nullptr;

    void Beep(UINT type) override {
        beeps.push_back(type == MB_ICONEXCLAMATION ? BeepKind::Exclamation : BeepKind::Plain);
    }
    int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption,
                    UINT) override {
        boxes.push_back({owner, text, caption});
        return IDOK;
    }
    bool PickFile(OPENFILENAMEW& record) override {
        return pickFile != nullptr && pickFile(&record);
    }
    bool PickColor(CHOOSECOLORW& record) override {
        return pickColor != nullptr && pickColor(&record);
    }
    void Browse(const std::wstring& page) override { pages.push_back(page); }
};

}  // namespace saltor
