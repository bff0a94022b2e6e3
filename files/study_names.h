#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace saltor {

// The naming rules of studies. A name is matched the way the game file's profile functions match
// entry names, so that the list never shows two names that the file keeps as one.

// ASCII capitals made small; every other character ("É" included) is kept.
std::wstring AsciiLower(std::wstring_view text);

// Leading and trailing blanks removed: the profile functions drop them around entry names.
std::wstring TrimStudyName(std::wstring_view name);

// A name that the game file can hold as an entry of its own: not empty, no "=" (the file would
// split the name there), no line break, and not beginning with "[" (a section header) or ";"
// (a comment).
bool IsStorableStudyName(std::wstring_view name);

// The same entry of the game file: equal but for the case of ASCII letters.
bool SameStudyName(std::wstring_view a, std::wstring_view b);

// The numbering pattern with its "%d" replaced by n ("%%" is a percent sign). Done by hand so a
// translated pattern with other directives cannot misbehave.
std::wstring NumberedStudyName(std::wstring_view pattern, int n);

// The pattern's name for the first number from 1 that gives a name not in `listed`.
std::wstring FirstFreeStudyName(std::wstring_view pattern, const std::vector<std::wstring>& listed);

// The names of a list of null-terminated strings that ends with an empty one (or at the end of
// `list`, whichever comes first).
std::vector<std::wstring> SplitNameList(std::wstring_view list);

}  // namespace saltor
