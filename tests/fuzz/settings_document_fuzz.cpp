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
#include <variant>

#include "fuzz/fuzz_input.h"
#include "settings/app_settings.h"
#include "settings/settings_document.h"
#include "settings/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace saltor;
    if (size == 0) {
        return 0;
    }
    // -28..227: screens too low for the smallest square as well as ordinary ones.
    const int maxCell = static_cast<int8_t>(data[0]) + 100;
    AppSettings loaded;
    ApplySettingsDocument(loaded, DecodeUtf8(reinterpret_cast<const char*>(data + 1), size - 1),
                          maxCell);
    SALTOR_FUZZ_CHECK(maxCell < kMinCellSize
                          ? loaded.CellSize == maxCell
                          : loaded.CellSize >= kMinCellSize && loaded.CellSize <= maxCell);
    for (const uint32_t color :
         {loaded.WhiteBgColor, loaded.BlackBgColor, loaded.WhiteFgColor, loaded.BlackFgColor}) {
        SALTOR_FUZZ_CHECK(color <= 0xFFFFFFu);
    }
    SALTOR_FUZZ_CHECK(loaded.CalcDuration != 0);

    // What the game saves it reads back the same. The one exception is a budget past the int32
    // range (only a hand-edited negative number or a huge typed time gives one): it is saved as
    // written and read back saturated.
    const std::string file = EncodeUtf8(BuildSettingsDocument(loaded));
    AppSettings again;
    ApplySettingsDocument(again, DecodeUtf8(file.data(), file.size()), maxCell);
    constexpr uint32_t kIntMax = std::numeric_limits<int32_t>::max();
    loaded.CalcDuration = std::min(loaded.CalcDuration, kIntMax);
    for (const SettingsField& field : kSettingsFields) {
        SALTOR_FUZZ_CHECK(std::visit([&](auto m) { return again.*m == loaded.*m; }, field.member));
    }

    // Each element's value, unescaped, comes back from the text it was written to, whatever
    // characters it holds; an empty value reads as missing.
    const std::wstring text = fuzz::WideFromBytes(data + 1, size - 1);
    const std::wstring_view key = kSettingsFields[data[0] % kSettingsFields.size()].key;
    std::wstring line;
    AppendElement(line, key, text);
    const std::optional<std::wstring> found = FindElement(line, key);
    SALTOR_FUZZ_CHECK(text.empty() ? !found : found && *found == text);

    // The integer reader against the C library's, which reads the same syntax in the C locale.
    const long long theirs = std::wcstoll(text.c_str(), nullptr, 10);
    SALTOR_FUZZ_CHECK(ParseSettingsInteger(text) ==
                      std::clamp<long long>(theirs, std::numeric_limits<int32_t>::min(), kIntMax));

    // Every colour the game writes reads back as itself.
    (void)ParseColorNumber(text);
    uint32_t color = 0;
    std::memcpy(&color, data, std::min(size, sizeof color));
    SALTOR_FUZZ_CHECK(ParseColorNumber(FormatColor(color)) == (color & 0xFFFFFFu));
    SALTOR_FUZZ_CHECK(ParseColorNumber(std::to_wstring(color)) == color);
    return 0;
}
