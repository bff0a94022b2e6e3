#pragma once

#include <string>
#include <string_view>

namespace saltor {

// The help document beside the program: the program's path with its extension replaced by
// ".chm", or with ".chm" appended when the file name has none (a dot in a folder name does not
// count). The game file is the same path ending in "ini" instead.
std::wstring HelpFilePathFor(std::wstring_view programPath);

}  // namespace saltor
