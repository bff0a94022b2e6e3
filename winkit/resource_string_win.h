#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace saltor {

// String `id` of the program's string table; empty when the table lacks it.
std::wstring LoadResourceString(UINT id);

// String `id` with its "%s" filled in by FormatSubject.
std::wstring FormatResourceString(UINT id, std::wstring_view subject);

}  // namespace saltor
