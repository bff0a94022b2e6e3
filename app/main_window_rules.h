#pragma once

#include <cstdint>

namespace saltor {

// Which buttons of the main window are shown and enabled, from the tour's move count (99: a
// complete tour, browse mode) and the board's browse position; a practice game that `ended` is
// browsed over its moves, and an exam offers neither hint nor solve.
struct ButtonStates {
    bool browse = false;  // shows first, last, ">" and the "Parcourir" frame; hides "?"
    bool firstEnabled = false;
    bool lastEnabled = false;
    bool forwardEnabled = false;
    bool hintEnabled = false;
    bool backEnabled = false;
    bool solveEnabled = false;
    bool newGameEnabled = false;
    bool saveEnabled = false;
    bool loadEnabled = false;

    friend bool operator==(const ButtonStates&, const ButtonStates&) = default;
};

ButtonStates ComputeButtonStates(int32_t moveCount, int32_t browseIndex, bool studyListHasEntries,
                                 bool studyNameTyped, bool ended = false, bool exam = false);

// Where the main window's parts go for a board of `board` pixels; all in pixels. The gaps are
// designed at 96 dpi and scaled to `dpi`.
struct LayoutInput {
    int boardWidth = 0;
    int boardHeight = 0;
    int clientHeight = 0;
    int windowHeight = 0;  // outer
    int buttonWidth = 0;   // the "Préférences…" button, the yardstick
    int buttonHeight = 0;
    int buttonLeft = 0;  // its current left edge in client coordinates
    bool panelShown = true;
    int columnBottom = 0;  // the lowest bottom edge of the column above "Aide"
    int dpi = 96;
    int statusMinHeight = 0;  // the status line under the column: the least it may have
    int maxClientHeight = 0;  // what the screen leaves for the client area (0: no bound)
};

struct LayoutResult {
    int windowWidth = 0;  // outer size
    int windowHeight = 0;
    int splitterLeft = 0, splitterWidth = 5, splitterHeight = 0;
    int columnShift = 0;  // added to the left of every control of the column
    int helpTop = 0, aboutTop = 0, quitTop = 0;
    int statusTop = 0, statusHeight = 0;  // all the room between the column and "Aide"
};

LayoutResult ComputeLayout(const LayoutInput& in);

}  // namespace saltor
