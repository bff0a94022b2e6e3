#pragma once

#include <windows.h>

#include <string>

namespace saltor {

// The help document's first page, as it is named inside the document.
inline constexpr wchar_t kHelpFirstPage[] = L"index.htm";

// Opens the help document on its table of contents, then on its first page. The HTML Help
// library is loaded on first use; when it cannot be, nothing is shown or reported, and it is not
// tried again during the run.
void ShowHelp(HWND caller, const std::wstring& helpFile);

}  // namespace saltor
