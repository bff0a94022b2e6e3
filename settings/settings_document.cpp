#include "settings/settings_document.h"

#include <limits>
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

void ApplyText(std::wstring& field, const std::optional<std::wstring>& value) {
    field = value ? *value : std::wstring();
}

void ApplyFlag(bool& field, const std::optional<std::wstring>& value) {
    field = value && *value == L"1";
}

void ApplyColor(uint32_t& field, const std::optional<std::wstring>& value) {
    if (!value) {
        return;
    }
    if (std::optional<uint32_t> number = ParseColorNumber(*value)) {
        // GDI reads the high byte as a palette selector, so it must never come from a file.
        field = *number & kColorMask;
    }
}

int32_t ParseOptionalInteger(const std::optional<std::wstring>& value) {
    return value ? ParseSettingsInteger(*value) : 0;
}

}  // namespace

std::wstring EscapeValue(std::wstring_view value) {
    std::wstring text(value);
    // "&" first, so the ampersands of the other references are not escaped again.
    ReplaceAll(text, L"&", L"&amp;");
    ReplaceAll(text, L"<", L"&lt;");
    ReplaceAll(text, L">", L"&gt;");
    ReplaceAll(text, L"\"", L"&quot;");
    ReplaceAll(text, L"'", L"&#39;");
    return text;
}

std::wstring UnescapeValue(std::wstring_view text) {
    std::wstring value(text);
    // "&amp;" last, so an escaped "&lt;" comes back as the four characters it was.
    ReplaceAll(value, L"&lt;", L"<");
    ReplaceAll(value, L"&gt;", L">");
    ReplaceAll(value, L"&quot;", L"\"");
    ReplaceAll(value, L"&#39;", L"'");
    ReplaceAll(value, L"&amp;", L"&");
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
    AppendElement(document, L"CursorFile", settings.CursorFile);
    AppendElement(document, L"HandCursor", settings.HandCursor ? L"1" : L"0");
    AppendElement(document, L"WhiteImage", settings.WhiteImage);
    AppendElement(document, L"BlackImage", settings.BlackImage);
    AppendElement(document, L"KnightImage", settings.KnightImage);
    AppendElement(document, L"CellSize", std::to_wstring(settings.CellSize));
    AppendElement(document, L"SolidColor", settings.SolidColor ? L"1" : L"0");
    AppendElement(document, L"WhiteBgColor", FormatColor(settings.WhiteBgColor));
    AppendElement(document, L"BlackBgColor", FormatColor(settings.BlackBgColor));
    AppendElement(document, L"WhiteFgColor", FormatColor(settings.WhiteFgColor));
    AppendElement(document, L"BlackFgColor", FormatColor(settings.BlackFgColor));
    AppendElement(document, L"CalcDuration", std::to_wstring(settings.CalcDuration));
    return document;
}

// Every key is looked up on its own, so a damaged element costs that key only. A missing value
// empties the texts and clears the flags but keeps the numbers and colours.
void ApplySettingsDocument(AppSettings& settings, std::wstring_view document, int maxCellSize) {
    ApplyText(settings.CursorFile, FindElement(document, L"CursorFile"));
    ApplyFlag(settings.HandCursor, FindElement(document, L"HandCursor"));
    ApplyText(settings.WhiteImage, FindElement(document, L"WhiteImage"));
    ApplyText(settings.BlackImage, FindElement(document, L"BlackImage"));
    ApplyText(settings.KnightImage, FindElement(document, L"KnightImage"));

    if (const int32_t size = ParseOptionalInteger(FindElement(document, L"CellSize")); size != 0) {
        settings.CellSize = size;
    }
    // Clamped even when the file said nothing: the screen may have shrunk since the last run.
    // The upper bound is applied last, so a screen too low for 70 pixels still fits the board.
    if (settings.CellSize < kMinCellSize) {
        settings.CellSize = kMinCellSize;
    }
    if (settings.CellSize > maxCellSize) {
        settings.CellSize = maxCellSize;
    }

    ApplyFlag(settings.SolidColor, FindElement(document, L"SolidColor"));
    ApplyColor(settings.WhiteBgColor, FindElement(document, L"WhiteBgColor"));
    ApplyColor(settings.BlackBgColor, FindElement(document, L"BlackBgColor"));
    ApplyColor(settings.WhiteFgColor, FindElement(document, L"WhiteFgColor"));
    ApplyColor(settings.BlackFgColor, FindElement(document, L"BlackFgColor"));

    // No range check: a hand-edited file may ask for any budget; a negative number wraps.
    if (const int32_t duration = ParseOptionalInteger(FindElement(document, L"CalcDuration"));
        duration != 0) {
        settings.CalcDuration = static_cast<uint32_t>(duration);
    }
}

}  // namespace saltor
