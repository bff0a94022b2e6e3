#include "app/startup_settings.h"

#include <windows.h>

#include <string>

#include "app/help_path.h"

namespace saltor {

namespace {

// Long-path aware: MAX_PATH is only the first guess.
std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

AppSettings LoadStartupSettings() {
    AppSettings settings;
    settings.HelpFilePath = HelpFilePathFor(ProgramPath());
    settings.Load();
    settings.ReloadBoardCursor();
    return settings;
}

}  // namespace saltor
