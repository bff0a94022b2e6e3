#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "settings/app_settings.h"
#include "settings/prefs_rules.h"
#include "settings/settings_document.h"
#include "settings/utf8.h"

namespace saltor {
namespace {

AppSettings Loaded(const std::wstring& document, AppSettings settings = {}, int maxCell = 125) {
    ApplySettingsDocument(settings, document, maxCell);
    return settings;
}

TEST(SettingsDocumentTest, DefaultsAreTheTwelveLinesAndAnEmptyFileKeepsThem) {
    const std::string expected =
        "<CursorFile></CursorFile>\r\n<HandCursor>0</HandCursor>\r\n<WhiteImage></WhiteImage>\r\n"
        "<BlackImage></BlackImage>\r\n<KnightImage></KnightImage>\r\n<CellSize>70</CellSize>\r\n"
        "<SolidColor>0</SolidColor>\r\n<WhiteBgColor>0xffffff</WhiteBgColor>\r\n"
        "<BlackBgColor>0x000000</BlackBgColor>\r\n<WhiteFgColor>0x000000</WhiteFgColor>\r\n"
        "<BlackFgColor>0xffffff</BlackFgColor>\r\n<CalcDuration>1000</CalcDuration>\r\n";
    EXPECT_EQ(EncodeUtf8(BuildSettingsDocument(AppSettings{})), expected);
    EXPECT_EQ(EncodeUtf8(BuildSettingsDocument(Loaded(L""))), expected);

    AppSettings runTime;  // what is not in the file is left alone
    runTime.HintsEnabled = false;
    runTime.Mute = true;
    runTime = Loaded(BuildSettingsDocument(AppSettings{}), runTime);
    EXPECT_TRUE(!runTime.HintsEnabled && runTime.Mute);
}

TEST(SettingsDocumentTest, EveryFieldAndAwkwardTextSurvivesARoundTrip) {
    AppSettings saved;
    saved.CursorFile = L"C:\\Curseurs\\cheval \"anim\".ani";
    saved.WhiteImage = L"D:\\Bois & <clair>\\l'érable.png";
    saved.BlackImage = L"&lt;&gt;&quot;&#39;&amp;";
    saved.KnightImage = L"\U0001F40E </KnightImage> &amp;lt; &&;; ";
    saved.HandCursor = saved.SolidColor = true;
    saved.CellSize = 97;
    saved.WhiteBgColor = 0x0000FF;
    saved.BlackBgColor = 0xFF0000;
    saved.BlackFgColor = 0xABCDEF;
    saved.CalcDuration = 123456;
    const std::wstring document = BuildSettingsDocument(saved);
    EXPECT_EQ(BuildSettingsDocument(Loaded(document)), document);
    EXPECT_EQ(FormatColor(0xFF00ABCD), L"0x00abcd");

    std::wstring line;
    AppendElement(line, L"WhiteImage", L"&lt; & Jerry's <\"x\">");
    EXPECT_EQ(line,
              L"<WhiteImage>&amp;lt; &amp; Jerry&#39;s &lt;&quot;x&quot;&gt;</WhiteImage>\r\n");
    EXPECT_EQ(FindElement(line, L"WhiteImage"), L"&lt; & Jerry's <\"x\">");
}

// Both directions go through one table, so two of its rows swapped would still round-trip: each
// key must fill its own field.
TEST(SettingsDocumentTest, EachKeyFillsItsOwnField) {
    const AppSettings s = Loaded(
        L"<CursorFile>c</CursorFile><HandCursor>1</HandCursor><WhiteImage>w</WhiteImage>"
        L"<BlackImage>b</BlackImage><KnightImage>k</KnightImage><CellSize>99</CellSize>"
        L"<SolidColor>0</SolidColor><WhiteBgColor>1</WhiteBgColor><BlackBgColor>2</BlackBgColor>"
        L"<WhiteFgColor>3</WhiteFgColor><BlackFgColor>4</BlackFgColor>"
        L"<CalcDuration>5</CalcDuration>");
    EXPECT_EQ(std::tuple(s.CursorFile, s.WhiteImage, s.BlackImage, s.KnightImage),
              std::tuple(L"c", L"w", L"b", L"k"));
    EXPECT_TRUE(s.HandCursor && !s.SolidColor);
    EXPECT_EQ(std::tuple(s.CellSize, s.CalcDuration), std::tuple(99, 5u));
    EXPECT_EQ(std::tuple(s.WhiteBgColor, s.BlackBgColor, s.WhiteFgColor, s.BlackFgColor),
              std::tuple(1u, 2u, 3u, 4u));
}

// Plain text search: order and whatever surrounds the elements do not matter.
TEST(SettingsDocumentTest, FindElementIsAPlainTextSearch) {
    // clang-format off
    const std::pair<const wchar_t*, std::optional<std::wstring>> cases[] = {
        {L"<CellSize>90", std::nullopt}, {L"<CellSize></CellSize>", std::nullopt},
        {L"<cellsize>90</cellsize><CellSize >9</CellSize>", std::nullopt},
        {L"<CellSize> 90 </CellSize>", L" 90 "}, {L"</CellSize><CellSize>80</CellSize>", L"80"},
        {L"<CellSize>80</CellSize><CellSize>90</CellSize>", L"80"},
        {L"\uFEFF<?xml?><Saltor><!-- <CellSize>9</CellSize> -->", L"9"},
        {L"<WhiteImage>a.png\r\n<CellSize>90</CellSize>", L"90"}};  // unclosed: lost alone
    // clang-format on
    for (const auto& [document, expected] : cases) {
        EXPECT_EQ(FindElement(document, L"CellSize"), expected) << EncodeUtf8(document);
    }
}

TEST(SettingsDocumentTest, ColorNumberReadsLikeStrToIntEx) {
    // clang-format off
    const std::pair<const wchar_t*, std::optional<uint32_t>> cases[] = {
        {L"0XAbCdEf", 0xABCDEF}, {L" \t\n0x10", 0x10}, {L"16777215", 0xFFFFFF}, {L"+16", 16},
        {L"-1", 0xFFFFFFFF}, {L"-0x10", 0x10}, {L"0x1ffffffff", 0xFFFFFFFF},
        {L"4294967297", 1}, {L"12abc", 12}, {L"0xfg", 0xF}, {L"0", 0}, {L"0x", std::nullopt},
        {L"x10", std::nullopt}, {L"abc", std::nullopt}, {L"  ", std::nullopt},
        {L"\r5", std::nullopt}, {L"+-5", std::nullopt}, {L"#ffffff", std::nullopt}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseColorNumber(text), expected) << EncodeUtf8(text);
    }
}

// One element read over settings that differ from the defaults; the result is the key's value
// as it would be written back.
TEST(SettingsDocumentTest, PerKeyRules) {
    AppSettings current;
    current.CellSize = 100;
    current.HandCursor = current.SolidColor = true;
    current.CursorFile = L"old.cur";
    current.BlackBgColor = 0x222222;
    current.CalcDuration = 3000;
    // clang-format off
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
        // Texts: no value empties them. Flags: exactly "1" or false.
        {L"CursorFile", L"", L""}, {L"CursorFile", L"a &amp; b", L"a & b"},
        {L"HandCursor", L"1", L"1"}, {L"HandCursor", L" 1", L"0"}, {L"HandCursor", L"01", L"0"},
        {L"SolidColor", L"true", L"0"}, {L"SolidColor", L"1 ", L"0"}, {L"SolidColor", L"", L"0"},
        // CellSize: 0 or no number keeps; then at least 70; then at most the screen's maximum.
        {L"CellSize", L" 90 ", L"90"}, {L"CellSize", L"abc", L"100"}, {L"CellSize", L"", L"100"},
        {L"CellSize", L"0", L"100"}, {L"CellSize", L"-5", L"70"}, {L"CellSize", L"500", L"125"},
        {L"CellSize", L"99999999999", L"125"},
        // CalcDuration: a saturating int32 read, 0 or no number keeps, no range, negatives wrap.
        {L"CalcDuration", L"50", L"50"}, {L"CalcDuration", L"\t\r\n+7", L"7"},
        {L"CalcDuration", L"12px", L"12"}, {L"CalcDuration", L"0", L"3000"},
        {L"CalcDuration", L"0x10", L"3000"}, {L"CalcDuration", L"- 5", L"3000"},
        {L"CalcDuration", L"-5", L"4294967291"},
        {L"CalcDuration", L"99999999999999999999999999", L"2147483647"},
        {L"CalcDuration", L"-2147483649", L"2147483648"},
        {L"CalcDuration", L"-000000000000000000001", L"4294967295"},
        // Colours: kept without a number.
        {L"BlackBgColor", L"rouge", L"0x222222"}, {L"BlackBgColor", L"", L"0x222222"},
        {L"WhiteFgColor", L"0x0000ff", L"0x0000ff"}};
    // clang-format on
    for (const auto& [key, text, expected] : cases) {
        const std::wstring element = L"<" + std::wstring(key) + L">" + text + L"</" + key + L">";
        const AppSettings loaded = Loaded(element, current);
        EXPECT_EQ(FindElement(BuildSettingsDocument(loaded), key).value_or(L""), expected)
            << EncodeUtf8(element);
    }
    // The screen's maximum wins when the screen is too low for 70; a kept size is clamped too.
    EXPECT_EQ(Loaded(L"<CellSize>90</CellSize>", current, 69).CellSize, 69);
    EXPECT_EQ(Loaded(L"<CellSize>0</CellSize>", current, 80).CellSize, 80);
    // Only 24 bits are a colour: GDI reads the top byte as a palette selector.
    EXPECT_EQ(Loaded(L"<BlackFgColor>-1</BlackFgColor>").BlackFgColor, 0xFFFFFFu);
}

TEST(AppSettingsTest, MaxCellSizeTruncatesTowardZero) {
    EXPECT_EQ(AppSettings::MaxCellSizeFor(1040, 3, 23), 125);
    EXPECT_EQ(AppSettings::MaxCellSizeFor(1044, 3, 23), 126);
    EXPECT_EQ(AppSettings::MaxCellSizeFor(591, 3, 23), 69);
}

TEST(PrefsRulesTest, TypedTimeIsAtLeast100AndTheSliderRangeNeverInverts) {
    for (const auto& [text, expected] : std::initializer_list<std::pair<const wchar_t*, uint32_t>>{
             {L"150", 150u},
             {L"50", 100u},
             {L"", 100u},
             {L"0100", 100u},
             {L"4294967295", 4294967295u},
             {L"4294967296", 100u},
             {L"99999999999999999999", 100u},
             {L"-150", 100u},
             {L"1 500", 100u},
             {L"\u0661\u0665\u0660", 100u}}) {
        EXPECT_EQ(CalcDurationFromText(text), expected) << text;
    }
    EXPECT_EQ(CellSizeRangeFor(125).low, 70);
    EXPECT_EQ(CellSizeRangeFor(125).high, 125);
    // A screen too low for 70: the one size that loading also gives.
    EXPECT_EQ(CellSizeRangeFor(69).low, 69);
    EXPECT_EQ(CellSizeRangeFor(69).high, 69);
    EXPECT_EQ(CellSizeRangeFor(-3).low, 1);
    EXPECT_EQ(CellSizeRangeFor(-3).high, 1);
}

}  // namespace
}  // namespace saltor
