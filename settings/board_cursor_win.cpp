#include <windows.h>

#include "resources/resource.h"
#include "settings/app_settings.h"

namespace saltor {

namespace {

// System and resource cursors are shared by the whole process and must not be destroyed.
std::shared_ptr<void> SharedCursor(HCURSOR cursor) {
    return std::shared_ptr<void>(cursor, [](void*) {});
}

}  // namespace

// The cursor file wins when it loads; otherwise the hand or our knight. A file that is missing
// or not a cursor falls back silently. The arrow stands in only where the knight resource is
// absent (a test program without our resources), so the board always has some cursor.
void AppSettings::ReloadBoardCursor() {
    BoardCursor.reset();
    if (!CursorFile.empty()) {
        if (HCURSOR fromFile = LoadCursorFromFileW(CursorFile.c_str())) {
            BoardCursor = std::shared_ptr<void>(
                fromFile, [](void* cursor) { DestroyCursor(static_cast<HCURSOR>(cursor)); });
            return;
        }
    }
    HCURSOR cursor =
        HandCursor ? LoadCursorW(nullptr, IDC_HAND)
                   : LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KNIGHT_CURSOR));
    if (!cursor) {
        cursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    BoardCursor = SharedCursor(cursor);
}

}  // namespace saltor
