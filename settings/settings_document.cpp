#include "settings/settings_document.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <type_traits>
#include <utility>

namespace saltor {

namespace {

void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to) {
    // One left-to-right pass; replaced text is never scanned again, so "&amp;lt;" unescapes to
    // "&lt;" and not to "<".
    std::wstring result;
    size_t start = 0;
    size_t found = text.find(from);
    if (found == std::wstring::npos) {
        return;
    }
    result.reserve(text.size());
    while (found != std::wstring::npos) {
        result.append(text, start, found - start);
        result.append(to);
        start = found + from.size();
        found = text.find(from, start);
    }
    result.append(text, start, std::wstring::npos);
    text = std::move(result);
}

bool IsAsciiSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int HexDigitValue(wchar_t c) {
    if (IsDigit(c)) {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

constexpr uint32_t kColorMask = 0x00FFFFFF;

// How each kind of field is written and read (see SettingsKind). The member's type tells all
// but a number from a colour.
template <typename T>
std::wstring ValueText(const T& field, SettingsKind kind) {
    if constexpr (std::is_same_v<T, std::wstring>) {
        return field;
    } else if constexpr (std::is_same_v<T, bool>) {
        return field ? L"1" : L"0";
    } else {
        return kind == SettingsKind::Color ? FormatColor(static_cast<uint32_t>(field))
                                           : std::to_wstring(field);
    }
}

template <typename T>
void ApplyValue(T& field, const std::optional<std::wstring>& value, SettingsKind kind) {
    if constexpr (std::is_same_v<T, std::wstring>) {
        field = value.value_or(L"");
    } else if constexpr (std::is_same_v<T, bool>) {
        field = value == L"1";
    } else if (kind == SettingsKind::Color) {
        if (const std::optional<uint32_t> number =
                value ? ParseColorNumber(*value) : std::nullopt) {
            // GDI reads the high byte as a palette selector, so it must never come from a file.
            field = static_cast<T>(*number & kColorMask);
        }
    } else if (const int32_t number = value ? ParseSettingsInteger(*value) : 0; number != 0) {
        // No range check: CellSize is clamped afterwards, and a hand-edited file may ask for any
        // budget (a negative one wraps).
        field = static_cast<T>(number);
    }
}

// Each member has its kind's type (see SettingsField::member).
static_assert(std::all_of(kSettingsFields.begin(), kSettingsFields.end(), [](const auto& field) {
    return field.member.index() == static_cast<size_t>(field.kind) ||
           (field.kind == SettingsKind::Number && field.member.index() == 3);
}));

}  // namespace

// Escaped first and unescaped last, so that the ampersands of the other references are not
// escaped again and an escaped "&lt;" comes back as the four characters it was.
constexpr std::pair<std::wstring_view, std::wstring_view> kEntities[] = {
    {L"&", L"&amp;"}, {L"<", L"&lt;"}, {L">", L"&gt;"}, {L"\"", L"&quot;"}, {L"'", L"&#39;"}};

std::wstring EscapeValue(std::wstring_view value) {
    std::wstring text(value);
    for (const auto& [plain, escaped] : kEntities) {
        ReplaceAll(text, plain, escaped);
    }
    return text;
}

std::wstring UnescapeValue(std::wstring_view text) {
    std::wstring value(text);
    for (auto it = std::rbegin(kEntities); it != std::rend(kEntities); ++it) {
        ReplaceAll(value, it->second, it->first);
    }
    return value;
}

void AppendElement(std::wstring& document, std::wstring_view key, std::wstring_view value) {
    document += L'<';
    document += key;
    document += L'>';
    document += EscapeValue(value);
    document += L"</";
    document += key;
    document += L">\r\n";
}

std::optional<std::wstring> FindElement(std::wstring_view document, std::wstring_view key) {
    std::wstring openTag = L"<";
    openTag += key;
    openTag += L'>';
    const size_t open = document.find(openTag);
    if (open == std::wstring_view::npos) {
        return std::nullopt;
    }
    const size_t valueStart = open + openTag.size();

    std::wstring closeTag = L"</";
    closeTag += key;
    closeTag += L'>';
    const size_t close = document.find(closeTag, valueStart);
    if (close == std::wstring_view::npos || close == valueStart) {
        return std::nullopt;
    }
    return UnescapeValue(document.substr(valueStart, close - valueStart));
}

int32_t ParseSettingsInteger(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    // The magnitude stops growing once past the int32 range, so any number of digits is safe.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (magnitude < kLimit) {
            magnitude = magnitude * 10 + (text[i] - L'0');
        }
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

std::optional<uint32_t> ParseColorNumber(std::wstring_view text) {
    // Same reading as StrToIntExW with STIF_SUPPORT_HEX: space, tab and line feed are skipped, a
    // sign is allowed (and ignored before "0x"), at least one digit must follow, and the number
    // wraps modulo 2^32 instead of saturating.
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t' || text[i] == L'\n')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    uint32_t value = 0;
    if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        i += 2;
        if (i >= text.size() || HexDigitValue(text[i]) < 0) {
            return std::nullopt;
        }
        for (; i < text.size() && HexDigitValue(text[i]) >= 0; ++i) {
            value = value * 16 + static_cast<uint32_t>(HexDigitValue(text[i]));
        }
        return value;
    }
    if (i >= text.size() || !IsDigit(text[i])) {
        return std::nullopt;
    }
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + static_cast<uint32_t>(text[i] - L'0');
    }
    return negative ? 0u - value : value;
}

std::wstring FormatColor(uint32_t color) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text = L"0x";
    for (int shift = 20; shift >= 0; shift -= 4) {
        text += kDigits[(color >> shift) & 0xF];
    }
    return text;
}

std::wstring BuildSettingsDocument(const AppSettings& settings) {
    std::wstring document;
    for (const SettingsField& field : kSettingsFields) {
        std::visit(
            [&](auto m) { AppendElement(document, field.key, ValueText(settings.*m, field.kind)); },
            field.member);
    }
    return document;
}

// Every key is looked up on its own, so a damaged element costs that key only.
void ApplySettingsDocument(AppSettings& settings, std::wstring_view document, int maxCellSize,
                           int minCellSize) {
    for (const SettingsField& field : kSettingsFields) {
        std::visit(
            [&](auto m) { ApplyValue(settings.*m, FindElement(document, field.key), field.kind); },
            field.member);
    }
    // Clamped even when the file said nothing: the screen may have shrunk since the last run.
    // The upper bound is applied last, so a screen too low for the smallest squares still fits
    // the board. The smallest grows with the display scale; the file keeps device pixels.
    if (settings.CellSize < minCellSize) {
        settings.CellSize = minCellSize;
    }
    if (settings.CellSize > maxCellSize) {
        settings.CellSize = maxCellSize;
    }
}

}  // namespace saltor
