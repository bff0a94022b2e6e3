#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace saltor {

// String `id` of the program's string table; empty when the table lacks it.
std::wstring LoadResourceString(UINT id);

// String `id` with its "%s" replaced by `subject`, or with `subject` on a line of its own after
// it when the string has no "%s". Done by hand so a translated string with other directives
// cannot misbehave.
std::wstring FormatResourceString(UINT id, std::wstring_view subject);

}  // namespace saltor
