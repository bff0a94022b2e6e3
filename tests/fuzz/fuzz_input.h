#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace saltor::fuzz {

// Fuzz bytes as wide text. Well-formed UTF-8 gives its characters, so seed files stay readable;
// any other byte stands for itself (U+0080..U+00FF), a zero byte included. 0xFF, which UTF-8
// never uses, takes the next four bytes (little-endian) as one raw wchar_t, to reach what no
// decoder produces: surrogates, values past U+10FFFF, negative values.
inline std::wstring WideFromBytes(const uint8_t* data, size_t size) {
    std::wstring text;
    size_t i = 0;
    while (i < size) {
        const uint8_t lead = data[i];
        if (lead == 0xFF && size - i > 4) {
            uint32_t raw = 0;
            std::memcpy(&raw, data + i + 1, sizeof raw);
            text += static_cast<wchar_t>(raw);
            i += 5;
            continue;
        }
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        uint32_t cp = lead & (0x7F >> length);
        bool complete = length > 1 && size - i >= length;
        for (size_t k = 1; complete && k < length; ++k) {
            complete = (data[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (data[i + k] & 0x3F);
        }
        if (complete) {
            text += static_cast<wchar_t>(cp);
            i += length;
        } else {
            text += static_cast<wchar_t>(lead);
            ++i;
        }
    }
    return text;
}

// Stops the run with the fuzzer's crash report: a broken invariant counts as a finding.
#define SALTOR_FUZZ_CHECK(condition)                                                            \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (false)

}  // namespace saltor::fuzz
