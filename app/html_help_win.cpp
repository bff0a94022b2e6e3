#include "app/html_help_win.h"

#include <htmlhelp.h>

#include "app/program_paths.h"

#include <cwchar>
#include <filesystem>
#include <string>
#include <system_error>

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

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// True when `test` holds for an entry of `folder`; a missing or unreadable folder has none.
template <typename Test>
bool AnyEntry(const std::filesystem::path& folder, Test test) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (test(entry->path())) {
            return true;
        }
    }
    return false;
}

// Wine's help viewer draws its pages with Wine's HTML engine (Gecko), often missing: installed in
// the prefix it is system32\gecko\<version>\wine_gecko; shared by the host, a folder
// wine-gecko-<version>-<cpu> in one of the two places where Wine looks for it.
bool WineHasHtmlEngine() {
    std::error_code error;
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH &&
        AnyEntry(std::filesystem::path(system) / L"gecko", [&](const std::filesystem::path& p) {
            return std::filesystem::is_directory(p / L"wine_gecko", error);
        })) {
        return true;
    }
    for (const wchar_t* shared : {L"Z:\\usr\\share\\wine\\gecko", L"Z:\\opt\\wine\\gecko"}) {
        if (AnyEntry(shared, [&](const std::filesystem::path& p) {
                return p.filename().wstring().starts_with(L"wine-gecko") &&
                       std::filesystem::is_directory(p, error);
            })) {
            return true;
        }
    }
    return false;
}

}  // namespace

void ShowHelp(HWND caller, const std::wstring& helpFile, Desktop& desktop) {
    static const bool pagesInBrowser = RunsUnderWine() && !WineHasHtmlEngine();
    if (pagesInBrowser) {
        const std::wstring page = HelpPagesFirstPageFor(helpFile);
        std::error_code error;
        if (!page.empty() && std::filesystem::is_regular_file(page, error)) {
            desktop.Browse(page);
            return;
        }
    }
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
