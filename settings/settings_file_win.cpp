#include "settings/settings_file_win.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>

#include "settings/app_settings.h"
#include "settings/settings_document.h"
#include "settings/utf8.h"
#include "winkit/file_win.h"
#include "winkit/handles_win.h"
#include "winkit/path_text.h"
#include "winkit/window_helpers_win.h"

namespace saltor {

namespace {

// The file is a few hundred bytes. Anything much larger is damaged or not ours; reading only its
// start keeps the time and memory of a load bounded.
constexpr DWORD kMaxReadBytes = 16u * 1024 * 1024;

// Failures of any kind give the empty document, which the per-key rules turn into defaults.
std::wstring ReadSettingsDocument(const std::wstring& path) {
    // No sharing: a half-written file from another instance is never read.
    ReadOnlyFile file(path, 0);
    const std::optional<std::string> bytes =
        file.Read(std::min<uint64_t>(file.Size(), kMaxReadBytes));
    return bytes ? DecodeUtf8(bytes->data(), bytes->size()) : std::wstring();
}

std::wstring PracticeFilePath() {
    std::wstring path = SettingsFolder();
    if (!path.empty()) {
        AppendPathPart(path, L"Entrainement.cfg");
    }
    return path;
}

}  // namespace

std::wstring SettingsFolder() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, appData))) {
        return {};
    }
    const std::wstring baseName = BaseNameWithoutExtension(ProgramFilePath());
    if (baseName.empty()) {
        return {};
    }
    // Creation failures are ignored: they show up as a failed open or create later.
    std::wstring folder = appData;
    AppendPathPart(folder, L"Lorvaine");
    CreateDirectoryW(folder.c_str(), nullptr);
    AppendPathPart(folder, baseName);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring SettingsFilePath() {
    std::wstring path = SettingsFolder();
    if (path.empty()) {
        return {};
    }
    AppendPathPart(path, L"Saltor.cfg");
    return path;
}

void AppSettings::Load() {
    // The squares' smallest size is the system's scale: the window opens on the primary monitor,
    // and the main window scales the size again if it lands on another.
    ApplySettingsDocument(*this, ReadSettingsDocument(SettingsFilePath()), MaxCellSize(),
                          MinCellSizeAt(SystemDpi()));
}

bool AppSettings::Save() const {
    return ReplaceWholeFile(SettingsFilePath(), EncodeUtf8(BuildSettingsDocument(*this)));
}

PracticeOptions LoadPracticeOptions() {
    ReadOnlyFile file(PracticeFilePath(), 0);
    // Two short lines: anything longer is damaged, and reads as both modes off.
    const std::optional<std::string> bytes = file.Read(std::min<uint64_t>(file.Size(), 64));
    return bytes ? ParsePracticeOptions(*bytes) : PracticeOptions{};
}

bool SavePracticeOptions(const PracticeOptions& options) {
    return ReplaceWholeFile(PracticeFilePath(), PracticeOptionsText(options));
}

int AppSettings::MaxCellSize() {
    RECT workArea{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
        workArea.top = 0;
        workArea.bottom = GetSystemMetrics(SM_CYSCREEN);
    }
    // The main window's menu bar sits under its caption.
    return MaxCellSizeFor(workArea.bottom - workArea.top, GetSystemMetrics(SM_CYDLGFRAME),
                          GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
}

}  // namespace saltor
