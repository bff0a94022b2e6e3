#pragma once

#include <string>
#include <string_view>

namespace saltor {

// The help document and the game file beside the program: the program's path with its extension
// replaced by ".chm" or ".ini" (appended when the file name has none).
std::wstring HelpFilePathFor(std::wstring_view programPath);
std::wstring GameFilePathFor(std::wstring_view programPath);

// The help document's first page, as it is named inside the document and among its pages.
inline constexpr wchar_t kHelpFirstPage[] = L"index.htm";

// The first of the same pages as plain HTML files, in the folder beside the document named after
// it with "-aide" ("Saltor.chm": "Saltor-aide\index.htm"); empty when the document is unknown.
std::wstring HelpPagesFirstPageFor(std::wstring_view helpFile);

}  // namespace saltor
