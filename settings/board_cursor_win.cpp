#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "resources/resource.h"
#include "settings/app_settings.h"
#include "settings/win_handle.h"

namespace saltor {

namespace {

// A cursor file is some kilobytes, an animated one with many large frames a few megabytes.
constexpr LONGLONG kMaxCursorFileBytes = 16ll << 20;
// The most a cursor file's directory can state for an image.
constexpr uint32_t kMaxCursorSide = 256;

// The system decodes a cursor's PNG images whole before scaling them to cursor size, so a
// small file stating a PNG of 12,000 x 12,000 pixels took 3.4 s and gigabytes to load. Every
// PNG header in the file (in a static cursor or in an animated one's frames) is looked at
// first; a file too long to be a cursor, or a PNG larger than any cursor, is not loaded.
bool WorthLoading(const std::wstring& path) {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kMaxCursorFileBytes) {
        return false;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return false;
    }
    const std::string_view data(bytes.data(), read);
    constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
    const auto side = [&](size_t at) {  // big-endian, as PNG has it
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<uint8_t>(data[at + i]);
        }
        return value;
    };
    for (size_t at = data.find(kPngSignature); at != std::string_view::npos;
         at = data.find(kPngSignature, at + 1)) {
        // The signature, the header chunk's length and type, then its width and height.
        if (data.size() - at < 24 || side(at + 16) > kMaxCursorSide ||
            side(at + 20) > kMaxCursorSide) {
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
