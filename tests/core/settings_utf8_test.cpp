#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "settings/utf8.h"

namespace saltor {
namespace {

std::wstring Decode(const std::string& bytes) {
    return DecodeUtf8(bytes.data(), bytes.size());
}

// Wide literals hold surrogate pairs on Windows and single units on Linux, like the decoder.
TEST(Utf8Test, DecodesAndReplacesPerMaximalSubpart) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x90\x8E", L"A\u00E9\u20AC\U0001F40E"},
        {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
        {"\xEF\xBB\xBF<a>", L"\uFEFF<a>"},
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong
        {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},            // overlong
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},            // surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\xE2\x82\x41", L"\uFFFDA"},                       // truncated, next byte kept
        {"\xF0\x9F\x90", L"\uFFFD"},                        // truncated at the end
        // The example of the Unicode standard, section 3.9.
        {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
         L"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
        {std::string("ab\0cd", 5), L"ab"},
        {std::string("\xE2\x82\0\x41", 4), L"\uFFFD"}};
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(Decode(bytes), expected) << testing::PrintToString(bytes);
    }
}

TEST(Utf8Test, EncodingRoundTripsAndReplacesLoneSurrogates) {
    EXPECT_EQ(EncodeUtf8(L"A\u00E9\u20AC\U0001F40E"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x90\x8E");
    // Every BMP code point, then a stride that still meets every continuation-byte value.
    for (char32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x10000 ? 1 : 61) {
        if (cp == 0xD800) {
            cp = 0xE000;
        }
        std::wstring text;
        if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
            text += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            text += static_cast<wchar_t>(cp);
        }
        ASSERT_EQ(Decode(EncodeUtf8(text)), text) << static_cast<uint32_t>(cp);
    }

    const std::string replacement = "\xEF\xBF\xBD";
    const wchar_t high = static_cast<wchar_t>(0xD83D);
    const wchar_t low = static_cast<wchar_t>(0xDC0E);
    EXPECT_EQ(EncodeUtf8(std::wstring{L'a', high}), "a" + replacement);
    EXPECT_EQ(EncodeUtf8(std::wstring{high, L'b'}), replacement + "b");
    EXPECT_EQ(EncodeUtf8(std::wstring{low, high}), replacement + replacement);
}

}  // namespace
}  // namespace saltor
