#pragma once

#include <string>
#include <string_view>

namespace saltor {

// Windows paths as text: "\" and "/" both separate folders. Portable, so tested natively.

// `path` with its file name's extension replaced by `extension` (".chm"), or with `extension`
// appended when the name has none (a dot in a folder name does not count); empty for an empty
// path.
std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view extension);

// The file name without its folder and extension: "C:\\a.b\\Saltor.exe" gives "Saltor".
std::wstring BaseNameWithoutExtension(std::wstring_view path);

// The folder part of a path, without its last separator; empty when there is none.
std::wstring FolderOf(std::wstring_view path);

// Appends `part` to `path` with one "\" between them.
void AppendPathPart(std::wstring& path, std::wstring_view part);

}  // namespace saltor
