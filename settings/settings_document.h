#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "settings/app_settings.h"

namespace saltor {

// The settings file is a sequence of lines "<Key>escaped value</Key>" CR LF. It looks like XML
// but is read as plain text: each key's tags are searched for, so order and extra text around
// the elements do not matter.

// How a field is written and read back. Text: as it is; a missing value empties it. Flag: "1"
// or "0"; anything but exactly "1" reads as false. Number: decimal; a missing value or 0 keeps
// the field. Color: FormatColor; read to 24 bits, and kept when the value is not a number.
enum class SettingsKind { Text, Flag, Number, Color };

struct SettingsField {
    std::wstring_view key;
    SettingsKind kind;
    // In the order of the kinds; a Number may also be a uint32_t.
    std::variant<std::wstring AppSettings::*, bool AppSettings::*, int32_t AppSettings::*,
                 uint32_t AppSettings::*>
        member;
};

// The stored fields in the order they are written.
inline constexpr std::array<SettingsField, 12> kSettingsFields = {{
    {L"CursorFile", SettingsKind::Text, &AppSettings::CursorFile},
    {L"HandCursor", SettingsKind::Flag, &AppSettings::HandCursor},
    {L"WhiteImage", SettingsKind::Text, &AppSettings::WhiteImage},
    {L"BlackImage", SettingsKind::Text, &AppSettings::BlackImage},
    {L"KnightImage", SettingsKind::Text, &AppSettings::KnightImage},
    {L"CellSize", SettingsKind::Number, &AppSettings::CellSize},
    {L"SolidColor", SettingsKind::Flag, &AppSettings::SolidColor},
    {L"WhiteBgColor", SettingsKind::Color, &AppSettings::WhiteBgColor},
    {L"BlackBgColor", SettingsKind::Color, &AppSettings::BlackBgColor},
    {L"WhiteFgColor", SettingsKind::Color, &AppSettings::WhiteFgColor},
    {L"BlackFgColor", SettingsKind::Color, &AppSettings::BlackFgColor},
    {L"CalcDuration", SettingsKind::Number, &AppSettings::CalcDuration},
}};

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
void ApplySettingsDocument(AppSettings& settings, std::wstring_view document, int maxCellSize,
                           int minCellSize = kMinCellSize);

}  // namespace saltor
