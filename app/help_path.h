#pragma once

#include <string>
#include <string_view>

namespace saltor {

// The help document beside the program: the program's path with its extension replaced by
// ".chm", or with ".chm" appended when the file name has none (a dot in a folder name does not
// count). The game file is the same path ending in "ini" instead.
std::wstring HelpFilePathFor(std::wstring_view programPath);

// The help document's first page, as it is named inside the document and among its pages.
inline constexpr wchar_t kHelpFirstPage[] = L"index.htm";

// The first of the same pages as plain HTML files, in the folder beside the document named after
// it with "-aide" ("Saltor.chm": "Saltor-aide\index.htm"); empty when the document is unknown.
std::wstring HelpPagesFirstPageFor(std::wstring_view helpFile);

}  // namespace saltor
