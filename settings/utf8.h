#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace saltor {

// Decodes up to the first zero byte or `size`. Every ill-formed sequence (stray continuation
// byte, overlong form, surrogate, value above U+10FFFF, truncated sequence) becomes one U+FFFD
// per maximal subpart, as Unicode recommends. A byte-order mark is kept as U+FEFF. wchar_t text
// is UTF-16 on Windows and UTF-32 elsewhere.
std::wstring DecodeUtf8(const char* bytes, size_t size);

// Lone surrogates (and, with a 4-byte wchar_t, values that are no code point) become U+FFFD.
std::string EncodeUtf8(std::wstring_view text);

}  // namespace saltor
