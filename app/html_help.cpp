#include "app/html_help.h"

#include <htmlhelp.h>

#include <cwchar>
#include <string>

namespace saltor {

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// Where the HTML Help control is registered; an empty text when it is not.
std::wstring RegisteredHelpControl() {
    const wchar_t* const key = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
    DWORD bytes = 0;
    const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, types, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes < sizeof(wchar_t)) {
        return {};
    }
    std::wstring path(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, types, nullptr, path.data(), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    path.resize(wcsnlen(path.c_str(), path.size()));
    return path;
}

HtmlHelpFunction LoadHtmlHelp() {
    std::wstring path = RegisteredHelpControl();
    HMODULE library = path.empty() ? nullptr : LoadLibraryW(path.c_str());
    if (library == nullptr) {
        library = LoadLibraryW(L"hhctrl.ocx");
    }
    if (library == nullptr) {
        return nullptr;
    }
    // Kept loaded for the run: the viewer it opens lives on after the call.
    return reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
}

}  // namespace

void ShowHelp(HWND caller, const std::wstring& helpFile) {
    // One attempt per run, failed or not.
    static const HtmlHelpFunction htmlHelp = LoadHtmlHelp();
    if (htmlHelp == nullptr) {
        return;
    }
    htmlHelp(caller, helpFile.c_str(), HH_DISPLAY_TOC, 0);
    // The first page by its name inside the document, not by context number 0: chmcmd records
    // no context 0, and asked for it the Windows viewer shows a "topic not found" box.
    const std::wstring firstPage = helpFile + L"::/" + kHelpFirstPage;
    htmlHelp(caller, firstPage.c_str(), HH_DISPLAY_TOPIC, 0);
}

}  // namespace saltor
