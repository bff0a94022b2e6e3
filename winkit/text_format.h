#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace saltor {

// Filling in the directives of our translatable strings, done by hand so that a translated
// string with other directives, or too many, cannot misbehave. Portable, so tested natively.

// `format` with each "%d" replaced by the next of `values` while any are left and "%%" by a
// percent sign; other directives stay as they are. `used`, when given, receives how many values
// were placed.
std::wstring FormatNumbers(std::wstring_view format, std::initializer_list<int> values,
                           size_t* used = nullptr);

// `format` with its "%s" replaced by `subject`, or with `subject` on a line of its own after it
// when it has no "%s".
std::wstring FormatSubject(std::wstring_view format, std::wstring_view subject);

}  // namespace saltor
