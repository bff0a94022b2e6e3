#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/app_settings.h"

namespace saltor {

// The settings file is a sequence of lines "<Key>escaped value</Key>" CR LF. It looks like XML
// but is read as plain text: each key's tags are searched for, so order and extra text around
// the elements do not matter.

std::wstring EscapeValue(std::wstring_view value);
std::wstring UnescapeValue(std::wstring_view text);

void AppendElement(std::wstring& document, std::wstring_view key, std::wstring_view value);
std::optional<std::wstring> FindElement(std::wstring_view document, std::wstring_view key);

// Decimal integer: leading white space, optional sign, digits; saturates at the int32 limits;
// no digits give 0.
int32_t ParseSettingsInteger(std::wstring_view text);

// Decimal or "0x" hexadecimal number read the way Windows' StrToIntExW(STIF_SUPPORT_HEX) reads
// it; no value when the text cannot begin a number.
std::optional<uint32_t> ParseColorNumber(std::wstring_view text);

// "0x" and six lowercase hex digits of bits 23..0.
std::wstring FormatColor(uint32_t color);

std::wstring BuildSettingsDocument(const AppSettings& settings);
void ApplySettingsDocument(AppSettings& settings, std::wstring_view document, int maxCellSize);

}  // namespace saltor
