// The settings file as AppSettings::Load reads it: bytes decoded from UTF-8, then the per-key
// rules of ApplySettingsDocument. The first byte picks the screen's largest square size; the
// rest is the file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz/fuzz_input.h"
#include "settings/app_settings.h"
#include "settings/settings_document.h"
#include "settings/utf8.h"

namespace saltor {
namespace {

void CheckRanges(const AppSettings& s, int maxCell) {
    if (maxCell >= kMinCellSize) {
        SALTOR_FUZZ_CHECK(s.CellSize >= kMinCellSize && s.CellSize <= maxCell);
    } else {
        SALTOR_FUZZ_CHECK(s.CellSize == maxCell);
    }
    for (const uint32_t color : {s.WhiteBgColor, s.BlackBgColor, s.WhiteFgColor, s.BlackFgColor}) {
        SALTOR_FUZZ_CHECK(color <= 0xFFFFFFu);
    }
    SALTOR_FUZZ_CHECK(s.CalcDuration != 0);
    // What the file cannot hold stays as it was.
    SALTOR_FUZZ_CHECK(s.HintsEnabled && !s.Mute && s.HelpFilePath.empty());
}

// What the game saves it reads back the same. The one exception is a budget past the int32
// range (only a hand-edited negative number or a huge typed time gives one): it is saved as
// written and read back saturated.
void CheckSavedFileReadsBack(const AppSettings& loaded, int maxCell) {
    const std::string file = EncodeUtf8(BuildSettingsDocument(loaded));
    const std::wstring document = DecodeUtf8(file.data(), file.size());
    AppSettings again;
    ApplySettingsDocument(again, document, maxCell);
    AppSettings expected = loaded;
    if (expected.CalcDuration > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
        expected.CalcDuration = std::numeric_limits<int32_t>::max();
    }
    for (const SettingsField& field : kSettingsFields) {
        SALTOR_FUZZ_CHECK(
            std::visit([&](auto m) { return again.*m == expected.*m; }, field.member));
    }
}

// Each element's value, unescaped, comes back from the text it was written to, whatever
// characters it holds; an empty value reads as missing.
void CheckElementRoundTrip(std::wstring_view value, size_t keyIndex) {
    const std::wstring_view key = kSettingsFields[keyIndex % kSettingsFields.size()].key;
    SALTOR_FUZZ_CHECK(UnescapeValue(EscapeValue(value)) == value);
    std::wstring line;
    AppendElement(line, key, value);
    const std::optional<std::wstring> found = FindElement(line, key);
    SALTOR_FUZZ_CHECK(value.empty() ? !found : found && *found == value);
}

// The integer reader against the C library's, which reads the same syntax in the C locale.
void CheckIntegerReader(const std::wstring& text) {
    const int32_t ours = ParseSettingsInteger(text);
    const long long theirs = std::wcstoll(text.c_str(), nullptr, 10);
    const long long clamped =
        theirs > std::numeric_limits<int32_t>::max()   ? std::numeric_limits<int32_t>::max()
        : theirs < std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::min()
                                                       : theirs;
    SALTOR_FUZZ_CHECK(ours == clamped);
}

// Every colour the game writes reads back as itself.
void CheckColorRoundTrip(uint32_t color) {
    SALTOR_FUZZ_CHECK(ParseColorNumber(FormatColor(color)) == (color & 0xFFFFFFu));
    SALTOR_FUZZ_CHECK(ParseColorNumber(std::to_wstring(color)) == color);
}

}  // namespace
}  // namespace saltor

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace saltor;
    if (size == 0) {
        return 0;
    }
    // -28..227: screens too low for the smallest square as well as ordinary ones.
    const int maxCell = static_cast<int8_t>(data[0]) + 100;
    const std::wstring document = DecodeUtf8(reinterpret_cast<const char*>(data + 1), size - 1);

    AppSettings loaded;
    ApplySettingsDocument(loaded, document, maxCell);
    CheckRanges(loaded, maxCell);
    CheckSavedFileReadsBack(loaded, maxCell);

    const std::wstring text = fuzz::WideFromBytes(data + 1, size - 1);
    CheckElementRoundTrip(text, data[0]);
    CheckIntegerReader(text);
    (void)ParseColorNumber(text);
    uint32_t color = 0;
    std::memcpy(&color, data, std::min(size, sizeof color));
    CheckColorRoundTrip(color);
    return 0;
}
