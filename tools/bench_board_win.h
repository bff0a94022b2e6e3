#pragma once

#include <windows.h>

#include <string>

#include "board/chess_board_wnd_win.h"
#include "engine/search_host.h"
#include "winkit/handles_win.h"

namespace saltor {

// The core on its own: a clock and nothing else.
class BareHost final : public SearchHost {
public:
    uint32_t TickCount() override { return GetTickCount(); }
    bool PollCancel() override { return false; }
    void ShowBusy() override {}
    void SearchEnded() override {}
};

// No beeps, boxes or dialogs while a benchmark plays.
class SilentDesktop final : public Desktop {
public:
    void Beep(UINT) override {}
    int ShowMessage(HWND, const std::wstring&, const std::wstring&, UINT) override { return IDOK; }
    bool PickFile(OPENFILENAMEW&) override { return false; }
    bool PickColor(CHOOSECOLORW&) override { return false; }
    void Browse(const std::wstring&) override {}
};

// A silent board window of 70-pixel squares in a plain top-level window standing in for the
// main window, with hints on and the given search budget.
class BenchBoard {
public:
    explicit BenchBoard(uint32_t budgetMs) : board_(settings_, silent_) {
        settings_.CalcDuration = budgetMs;
        settings_.HintsEnabled = true;
        settings_.CellSize = 70;
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SaltorBenchParent";
        RegisterClassW(&wc);
        parent_.Reset(CreateWindowExW(0, wc.lpszClassName, L"bench",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 700, nullptr,
                                      nullptr, wc.hInstance, nullptr));
        if (parent_) {
            board_.Create(parent_.Get());
        }
    }

    bool Valid() const { return board_.Hwnd() != nullptr; }
    AppSettings& Settings() { return settings_; }
    CChessBoardWnd& Board() { return board_; }

private:
    AppSettings settings_;
    SilentDesktop silent_;
    CChessBoardWnd board_;
    UniqueWindow parent_;  // last, so that it goes first and takes the board window with it
};

}  // namespace saltor
