#pragma once

#include <windows.h>

#include <string>

namespace saltor {

// Hands a help page to the player's own browser. Tests put in one that records.
class HelpBrowser {
public:
    virtual ~HelpBrowser() = default;
    // Through Wine's winebrowser, which gives the file to the host system's browser.
    virtual void Open(const std::wstring& page);
};

// Opens the help document on its table of contents, then on its first page. The HTML Help
// library is loaded on first use; when it cannot be, nothing is shown or reported, and it is not
// tried again during the run. Under Wine with no HTML engine, whose viewer shows blank pages, the
// same pages as HTML files beside the document go to the browser instead, when they are there.
void ShowHelp(HWND caller, const std::wstring& helpFile, HelpBrowser& browser);

}  // namespace saltor
