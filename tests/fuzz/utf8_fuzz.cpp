// The settings file's UTF-8: any bytes decode to code points only, what decodes without a
// replacement character was well-formed and encodes back to the same bytes, and encoding any
// wide text gives UTF-8 that decodes to that text with its non-characters replaced.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "settings/utf8.h"

namespace saltor {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsCodePoint(wchar_t c) {
    const auto u = static_cast<uint32_t>(c);
    return u <= 0x10FFFF && (u < 0xD800 || u > 0xDFFF);
}

std::wstring Decode(std::string_view bytes) {
    return DecodeUtf8(bytes.data(), bytes.size());
}

void CheckDecoding(std::string_view bytes) {
    const std::wstring text = Decode(bytes);
    const std::string_view untilZero = bytes.substr(0, bytes.find('\0'));
    SALTOR_FUZZ_CHECK(text.size() <= untilZero.size());
    bool replaced = false;
    for (const wchar_t c : text) {
        SALTOR_FUZZ_CHECK(c != 0 && IsCodePoint(c));
        replaced = replaced || c == kReplacement;
    }
    const std::string encoded = EncodeUtf8(text);
    if (!replaced) {
        SALTOR_FUZZ_CHECK(encoded == untilZero);
    }
    // Stable from the second round on: the first may only replace.
    SALTOR_FUZZ_CHECK(Decode(encoded) == text);
    SALTOR_FUZZ_CHECK(EncodeUtf8(Decode(encoded)) == encoded);
}

void CheckEncoding(std::wstring_view text) {
    const std::string bytes = EncodeUtf8(text);
    std::wstring expected;
    for (const wchar_t c : text) {
        if (c == 0) {
            break;  // the decoder stops at a zero byte
        }
        expected += IsCodePoint(c) ? c : kReplacement;
    }
    SALTOR_FUZZ_CHECK(Decode(bytes) == expected);
}

}  // namespace
}  // namespace saltor

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    saltor::CheckDecoding(std::string_view(reinterpret_cast<const char*>(data), size));
    saltor::CheckEncoding(saltor::fuzz::WideFromBytes(data, size));
    return 0;
}
