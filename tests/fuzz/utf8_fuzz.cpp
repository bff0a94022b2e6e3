// The settings file's UTF-8: any bytes decode to code points only, what decodes without a
// replacement character was well-formed and encodes back to the same bytes, and encoding any
// wide text gives UTF-8 that decodes to that text with its non-characters replaced.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "settings/utf8.h"

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsCodePoint(wchar_t c) {
    const auto u = static_cast<uint32_t>(c);
    return u <= 0x10FFFF && (u < 0xD800 || u > 0xDFFF);
}

std::wstring Decode(std::string_view bytes) {
    return saltor::DecodeUtf8(bytes.data(), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = Decode(bytes);
    const std::string_view untilZero = bytes.substr(0, bytes.find('\0'));
    SALTOR_FUZZ_CHECK(text.size() <= untilZero.size());
    bool replaced = false;
    for (const wchar_t c : text) {
        SALTOR_FUZZ_CHECK(c != 0 && IsCodePoint(c));
        replaced = replaced || c == kReplacement;
    }
    const std::string encoded = saltor::EncodeUtf8(text);
    SALTOR_FUZZ_CHECK(replaced || encoded == untilZero);
    SALTOR_FUZZ_CHECK(Decode(encoded) == text);  // stable from the second round: the first may
                                                 // only replace
    const std::wstring wide = saltor::fuzz::WideFromBytes(data, size);
    std::wstring expected;
    for (size_t i = 0; i < wide.size() && wide[i] != 0; ++i) {  // the decoder stops at a zero
        expected += IsCodePoint(wide[i]) ? wide[i] : kReplacement;
    }
    SALTOR_FUZZ_CHECK(Decode(saltor::EncodeUtf8(wide)) == expected);
    return 0;
}
