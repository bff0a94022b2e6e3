#pragma once

#include <windows.h>

#include <string>

namespace saltor {

// Opens the help document on its table of contents, then on the topic of context 0. The HTML
// Help library is loaded on first use; when it cannot be, nothing is shown or reported, and it
// is not tried again during the run.
void ShowHelp(HWND caller, const std::wstring& helpFile);

}  // namespace saltor
