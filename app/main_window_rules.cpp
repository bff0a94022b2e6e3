#include "app/main_window_rules.h"

#include <algorithm>

#include "winkit/placement.h"

namespace saltor {

ButtonStates ComputeButtonStates(int32_t moveCount, int32_t browseIndex, bool studyListHasEntries,
                                 bool studyNameTyped, bool ended, bool exam) {
    ButtonStates s;
    s.browse = moveCount == 99 || ended;
    if (s.browse) {
        const int32_t last = moveCount == 99 ? 63 : moveCount - 1;
        s.firstEnabled = browseIndex > 0;
        s.lastEnabled = browseIndex < last;
        s.forwardEnabled = browseIndex < last;
        s.backEnabled = browseIndex > 0;
    } else {
        s.hintEnabled = moveCount >= 2 && !exam;
        s.backEnabled = moveCount > 0;
    }
    s.solveEnabled = !s.browse && !exam && moveCount >= 1 && moveCount <= 63;
    s.newGameEnabled = moveCount != 0;
    s.saveEnabled = moveCount != 0;  // a complete tour can be saved too
    s.loadEnabled = studyListHasEntries && studyNameTyped;
    return s;
}

LayoutResult ComputeLayout(const LayoutInput& in) {
    const auto scaled = [&](int length) { return ScaleToDpi(length, in.dpi); };
    LayoutResult r;
    const int frameHeight = in.windowHeight - in.clientHeight;
    r.windowHeight = frameHeight + in.boardHeight;
    r.splitterLeft = in.boardHeight;
    r.splitterWidth = scaled(5);
    r.splitterHeight = in.boardHeight;
    if (!in.panelShown) {
        r.windowWidth = in.boardHeight + scaled(20);
        return r;
    }
    r.windowWidth = in.boardWidth + in.buttonWidth + scaled(40);
    r.columnShift = in.boardHeight + scaled(10) - in.buttonLeft;
    // The three bottom buttons stand 5 pixels apart, the last 10 pixels above the lower edge. At
    // a large display scale the column's text outgrows the board: they then keep 10 pixels below
    // the column and its status line, and the window grows below the board to hold them.
    const int gap = scaled(5);
    int margin = scaled(10);
    r.statusTop = in.columnBottom + gap;
    // On a screen too short for it, the status line gives up its least height, down to nothing,
    // rather than push "Quitter" off the screen; on a shorter one still, the margins above "Aide"
    // and below "Quitter" close to the buttons' own gap.
    const auto buttonsAt = [&](int edge) { return edge + 3 * in.buttonHeight + 2 * gap + edge; };
    if (in.maxClientHeight > 0 && r.statusTop + buttonsAt(margin) > in.maxClientHeight) {
        margin = gap;
    }
    const int buttons = buttonsAt(margin);
    const int statusMin =
        in.maxClientHeight > 0
            ? std::clamp(in.maxClientHeight - buttons - r.statusTop, 0, in.statusMinHeight)
            : in.statusMinHeight;
    const int line = in.statusMinHeight / 4;  // less than a line of text is no use
    r.helpTop = std::max(in.boardHeight - 3 * in.buttonHeight - 2 * gap - margin,
                         r.statusTop + (statusMin < line ? 0 : statusMin) + margin);
    r.statusHeight = r.helpTop - margin - r.statusTop < line ? 0 : r.helpTop - margin - r.statusTop;
    r.aboutTop = r.helpTop + in.buttonHeight + gap;
    r.quitTop = r.aboutTop + in.buttonHeight + gap;
    const int clientHeight = std::max(in.boardHeight, r.quitTop + in.buttonHeight + margin);
    r.windowHeight = frameHeight + clientHeight;
    r.splitterHeight = clientHeight;
    return r;
}

}  // namespace saltor
