#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "settings/app_settings.h"
#include "settings/settings_document.h"
#include "settings/utf8.h"

namespace saltor {
namespace {

AppSettings Loaded(const std::wstring& document, AppSettings settings = {}, int maxCell = 125) {
    ApplySettingsDocument(settings, document, maxCell);
    return settings;
}

std::wstring Element(const std::wstring& key, const std::wstring& rawText) {
    return L"<" + key + L">" + rawText + L"</" + key + L">\r\n";
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

    AppSettings runTime;
    runTime.HintsEnabled = false;
    runTime.Mute = true;
    runTime.HelpFilePath = L"C:\\Jeu\\Saltor.chm";
    runTime = Loaded(BuildSettingsDocument(AppSettings{}), runTime);
    EXPECT_FALSE(runTime.HintsEnabled);
    EXPECT_TRUE(runTime.Mute);
    EXPECT_EQ(runTime.HelpFilePath, L"C:\\Jeu\\Saltor.chm");
}

TEST(SettingsDocumentTest, EveryFieldAndAwkwardTextSurvivesARoundTrip) {
    AppSettings saved;
    saved.CursorFile = L"C:\\Curseurs\\cheval \"anim\".ani";
    saved.HandCursor = true;
    saved.WhiteImage = L"D:\\Bois & <clair>\\l'érable.png";
    saved.BlackImage = L"&lt;&gt;&quot;&#39;&amp;";
    saved.KnightImage = L"\U0001F40E </KnightImage> &amp;lt; &&;; ";
    saved.CellSize = 97;
    saved.SolidColor = true;
    saved.WhiteBgColor = 0x0000FF;
    saved.BlackBgColor = 0xFF0000;
    saved.BlackFgColor = 0xABCDEF;
    saved.CalcDuration = 123456;
    const std::wstring document = BuildSettingsDocument(saved);
    EXPECT_EQ(BuildSettingsDocument(Loaded(document)), document);
    EXPECT_NE(document.find(L"<WhiteBgColor>0x0000ff</"), std::wstring::npos);
    EXPECT_NE(document.find(L"<BlackBgColor>0xff0000</"), std::wstring::npos);
    EXPECT_EQ(FormatColor(0xFF00ABCD), L"0x00abcd");

    std::wstring line;
    AppendElement(line, L"WhiteImage", L"Tom & Jerry's <\"x\">");
    EXPECT_EQ(line, L"<WhiteImage>Tom &amp; Jerry&#39;s &lt;&quot;x&quot;&gt;</WhiteImage>\r\n");
    line.clear();
    AppendElement(line, L"WhiteImage", L"&lt;");
    EXPECT_EQ(line, L"<WhiteImage>&amp;lt;</WhiteImage>\r\n");
    EXPECT_EQ(FindElement(line, L"WhiteImage"), L"&lt;");
}

TEST(SettingsDocumentTest, FindElementIsAPlainTextSearch) {
    EXPECT_EQ(FindElement(L"<CellSize>90", L"CellSize"), std::nullopt);
    EXPECT_EQ(FindElement(L"<CellSize></CellSize>", L"CellSize"), std::nullopt);
    EXPECT_EQ(FindElement(L"<cellsize>90</cellsize><CellSize >9</CellSize>", L"CellSize"),
              std::nullopt);
    EXPECT_EQ(FindElement(L"<CellSize> 90 </CellSize>", L"CellSize"), L" 90 ");
    EXPECT_EQ(FindElement(L"<CellSize>80</CellSize><CellSize>90</CellSize>", L"CellSize"), L"80");
    EXPECT_EQ(FindElement(L"</CellSize><CellSize>80</CellSize>", L"CellSize"), L"80");
    // An unclosed element costs its own key only.
    const std::wstring unclosed = L"<WhiteImage>a.png\r\n<BlackImage>b.png</BlackImage>\r\n";
    EXPECT_EQ(FindElement(unclosed, L"WhiteImage"), std::nullopt);
    EXPECT_EQ(FindElement(unclosed, L"BlackImage"), L"b.png");
}

TEST(SettingsDocumentTest, OrderAndSurroundingTextDoNotMatter) {
    AppSettings saved;
    saved.CursorFile = L"c.cur";
    saved.CellSize = 88;
    saved.WhiteFgColor = 0x00FF00;
    const std::wstring plain = BuildSettingsDocument(saved);
    std::wstring reversed;
    for (size_t end = plain.size(); end > 0;) {
        const size_t start = plain.rfind(L'\n', end - 2) + 1;  // npos + 1 wraps to 0
        reversed += plain.substr(start, end - start);
        end = start;
    }
    const std::wstring wrapped = L"\uFEFF<?xml version=\"1.0\"?>\r\n<Saltor><Unknown>1</Unknown>" +
                                 plain + L"<!-- <CellSize>99</CellSize> --></Saltor>";
    EXPECT_NE(reversed, plain);
    EXPECT_EQ(BuildSettingsDocument(Loaded(reversed)), plain);
    EXPECT_EQ(BuildSettingsDocument(Loaded(wrapped)), plain);
}

TEST(SettingsDocumentTest, IntegerConversionSaturates) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    // clang-format off
    const std::pair<const wchar_t*, int32_t> cases[] = {
        {L" 90 ", 90}, {L"\t\r\n90", 90}, {L"abc", 0}, {L"", 0}, {L"-", 0}, {L"- 5", 0},
        {L"+7", 7}, {L"-5", -5}, {L"12px", 12}, {L"007", 7}, {L"0x10", 0},
        {L"2147483647", kMax}, {L"2147483648", kMax}, {L"-2147483649", kMin},
        {L"99999999999999999999999999", kMax}, {L"-000000000000000000001", -1}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseSettingsInteger(text), expected) << EncodeUtf8(text);
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

TEST(SettingsDocumentTest, PerKeyRules) {
    AppSettings current;
    current.CellSize = 100;
    current.HandCursor = current.SolidColor = true;
    current.CursorFile = L"old.cur";
    current.WhiteBgColor = 0x111111;
    current.BlackBgColor = 0x222222;
    current.CalcDuration = 3000;

    // CellSize: 0 or no number keeps; then at least 70; then at most the screen's maximum, which
    // wins when the screen is too low for 70. A kept size is clamped too.
    // clang-format off
    const std::tuple<std::wstring, int, int32_t> sizes[] = {
        {L" 90 ", 125, 90}, {L"abc", 125, 100}, {L"0", 125, 100}, {L"-5", 125, 70},
        {L"500", 125, 125}, {L"99999999999", 125, 125}, {L"90", 69, 69}, {L"0", 80, 80}};
    // clang-format on
    for (const auto& [text, maxCell, expected] : sizes) {
        EXPECT_EQ(Loaded(Element(L"CellSize", text), current, maxCell).CellSize, expected)
            << EncodeUtf8(text) << " max " << maxCell;
    }
    EXPECT_EQ(Loaded(L"<CellSize></CellSize>", current).CellSize, 100);

    for (const wchar_t* text : {L" 1", L"true", L"01", L"2"}) {
        const AppSettings loaded =
            Loaded(Element(L"HandCursor", text) + Element(L"SolidColor", text), current);
        EXPECT_FALSE(loaded.HandCursor || loaded.SolidColor) << EncodeUtf8(text);
    }
    EXPECT_TRUE(Loaded(Element(L"HandCursor", L"1")).HandCursor);

    // clang-format off
    const std::pair<const wchar_t*, uint32_t> durations[] = {
        {L"50", 50}, {L"0", 3000}, {L"abc", 3000}, {L"99999999999", 2147483647u},
        {L"-5", 4294967291u}};
    // clang-format on
    for (const auto& [text, expected] : durations) {
        EXPECT_EQ(Loaded(Element(L"CalcDuration", text), current).CalcDuration, expected);
    }

    const AppSettings colors =
        Loaded(Element(L"WhiteBgColor", L"16777215") + Element(L"BlackBgColor", L"rouge") +
                   Element(L"WhiteFgColor", L"0x0000ff;") + Element(L"BlackFgColor", L"-1"),
               current);
    EXPECT_EQ(colors.WhiteBgColor, 0xFFFFFFu);
    EXPECT_EQ(colors.BlackBgColor, 0x222222u);
    EXPECT_EQ(colors.WhiteFgColor, 0x0000FFu);
    // Only 24 bits are a colour: GDI reads the top byte as a palette selector.
    EXPECT_EQ(colors.BlackFgColor, 0xFFFFFFu);

    // No value: texts empty, flags false, numbers and colours kept.
    const AppSettings empty = Loaded(L"<CursorFile></CursorFile>", current);
    EXPECT_EQ(empty.CursorFile, L"");
    EXPECT_FALSE(empty.HandCursor);
    EXPECT_EQ(empty.WhiteBgColor, 0x111111u);
    EXPECT_EQ(empty.CalcDuration, 3000u);
}

TEST(AppSettingsTest, MaxCellSizeTruncatesTowardZero) {
    EXPECT_EQ(AppSettings::MaxCellSizeFor(1040, 3, 23), 125);
    EXPECT_EQ(AppSettings::MaxCellSizeFor(1044, 3, 23), 126);
    EXPECT_EQ(AppSettings::MaxCellSizeFor(591, 3, 23), 69);
    EXPECT_EQ(AppSettings::MaxCellSizeFor(0, 0, 0), 0);
}

}  // namespace
}  // namespace saltor
