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

// Writes the whole file or nothing: on failure the temporary file is removed.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        // Possibly another instance's temporary file, in use: not ours to delete.
        return false;
    }
    DWORD written = 0;
    // Flushed before the rename, so the new name never points at data still in the cache.
    const bool ok =
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file.Get());
    file.Reset();
    if (!ok) {
        DeleteFileW(path.c_str());
    }
    return ok;
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

// The new document is written beside the file and then moved over it, so a crash or a full disk
// leaves either the old file or the new one, never a damaged one. True only when the file was
// replaced.
bool AppSettings::Save() const {
    const std::wstring path = SettingsFilePath();
    if (path.empty()) {
        return false;
    }
    const std::wstring tempPath = path + L".tmp";
    if (!WriteWholeFile(tempPath, EncodeUtf8(BuildSettingsDocument(*this)))) {
        return false;
    }
    if (!MoveFileExW(tempPath.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(tempPath.c_str());
        return false;
    }
    return true;
}

int AppSettings::MaxCellSize() {
    RECT workArea{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
        workArea.top = 0;
        workArea.bottom = GetSystemMetrics(SM_CYSCREEN);
    }
    // The main window has a menu bar under its caption.
    return MaxCellSizeFor(workArea.bottom - workArea.top, GetSystemMetrics(SM_CYDLGFRAME),
                          GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
}

}  // namespace saltor
