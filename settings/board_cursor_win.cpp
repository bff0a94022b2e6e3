#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "resources/resource.h"
#include "settings/app_settings.h"
#include "winkit/file_win.h"
#include "winkit/image_header.h"

namespace saltor {

namespace {

// A cursor file is some kilobytes, an animated one with many large frames a few megabytes.
constexpr uint64_t kMaxCursorFileBytes = 16ull << 20;
// The most a cursor file's directory can state for an image.
constexpr uint32_t kMaxCursorSide = 256;

// The system decodes a cursor's PNG images whole before scaling them to cursor size, so a
// small file stating a PNG of 12,000 x 12,000 pixels took 3.4 s and gigabytes to load. Every
// PNG header in the file (in a static cursor or in an animated one's frames) is looked at
// first; a file too long to be a cursor, or a PNG larger than any cursor, is not loaded.
bool WorthLoading(const std::wstring& path) {
    ReadOnlyFile file(path, kShareAll);
    const uint64_t size = file.Size();
    if (size == 0 || size > kMaxCursorFileBytes) {
        return false;
    }
    const std::optional<std::string> bytes = file.Read(size);
    if (!bytes) {
        return false;
    }
    const std::string_view data(*bytes);
    constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
    for (size_t at = data.find(kPngSignature); at != std::string_view::npos;
         at = data.find(kPngSignature, at + 1)) {
        const std::optional<ImageSize> stated =
            ReadImageSize(reinterpret_cast<const uint8_t*>(data.data() + at), data.size() - at);
        if (!stated || stated->width > kMaxCursorSide || stated->height > kMaxCursorSide) {
            return false;
        }
    }
    return true;
}

// System and resource cursors are shared by the whole process and must not be destroyed.
std::shared_ptr<void> SharedCursor(HCURSOR cursor) {
    return std::shared_ptr<void>(cursor, [](void*) {});
}

}  // namespace

// The cursor file wins when it loads; otherwise the hand or our knight. A file that is missing,
// not a cursor or not worth loading falls back silently. The arrow stands in only where the knight
// resource is absent (a test program without our resources), so the board always has some cursor.
void AppSettings::ReloadBoardCursor() {
    BoardCursor.reset();
    if (!CursorFile.empty() && WorthLoading(CursorFile)) {
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
