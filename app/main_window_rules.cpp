#include "app/main_window_rules.h"

namespace saltor {

ButtonStates ComputeButtonStates(int32_t moveCount, int32_t browseIndex, bool studyListHasEntries,
                                 bool studyNameTyped) {
    ButtonStates s;
    s.browse = moveCount == 99;
    if (s.browse) {
        s.firstEnabled = browseIndex > 0;
        s.lastEnabled = browseIndex < 63;
        s.forwardEnabled = browseIndex < 63;
        s.backEnabled = browseIndex > 0;
    } else {
        s.hintEnabled = moveCount >= 2;
        s.backEnabled = moveCount > 0;
    }
    s.solveEnabled = moveCount >= 1 && moveCount <= 63;
    s.newGameEnabled = moveCount != 0;
    s.saveEnabled = moveCount != 0;  // a complete tour can be saved too
    s.loadEnabled = studyListHasEntries && studyNameTyped;
    return s;
}

LayoutResult ComputeLayout(const LayoutInput& in) {
    LayoutResult r;
    const int frameHeight = in.windowHeight - in.clientHeight;
    r.windowHeight = frameHeight + in.boardHeight;
    r.splitterLeft = in.boardHeight;
    r.splitterHeight = in.boardHeight;
    if (!in.panelShown) {
        r.windowWidth = in.boardHeight + 20;
        return r;
    }
    r.windowWidth = in.boardWidth + in.buttonWidth + 40;
    r.columnShift = in.boardHeight + 10 - in.buttonLeft;
    // The three bottom buttons stand 5 pixels apart, the last 10 pixels above the lower edge.
    r.helpTop = in.boardHeight - 3 * in.buttonHeight - 20;
    r.aboutTop = in.boardHeight - 2 * in.buttonHeight - 15;
    r.quitTop = in.boardHeight - in.buttonHeight - 10;
    return r;
}

}  // namespace saltor
