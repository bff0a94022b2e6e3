#pragma once

#include <windows.h>

#include <string>

#include "winkit/desktop_win.h"

namespace saltor {

// Opens the help document on its table of contents, then on its first page. The HTML Help
// library is loaded on first use; when it cannot be, nothing is shown or reported, and it is not
// tried again during the run. Under Wine with no HTML engine, whose viewer shows blank pages, the
// same pages as HTML files beside the document go to the desktop's browser instead, when they are
// there.
void ShowHelp(HWND caller, const std::wstring& helpFile, Desktop& desktop);

}  // namespace saltor
