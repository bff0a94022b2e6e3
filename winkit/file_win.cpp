#include "winkit/file_win.h"

#include <algorithm>

namespace saltor {

ReadOnlyFile::ReadOnlyFile(const std::wstring& path, DWORD share)
    : file_(path.empty() ? nullptr
                         : CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr)) {}

uint64_t ReadOnlyFile::Size() const {
    LARGE_INTEGER size{};
    if (!file_.Valid() || !GetFileSizeEx(file_.Get(), &size) || size.QuadPart < 0) {
        return 0;
    }
    return static_cast<uint64_t>(size.QuadPart);
}

std::optional<std::string> ReadOnlyFile::Read(size_t count) {
    if (!file_.Valid()) {
        return std::nullopt;
    }
    // One call reads at most what a DWORD counts; the readers ask for far less.
    std::string bytes(std::min<size_t>(count, MAXDWORD), '\0');
    DWORD read = 0;
    if (!ReadFile(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

// Long-path aware: MAX_PATH is only the first guess.
std::wstring ProgramFilePath() {
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

namespace {

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

// The new file is written beside the old one and then moved over it, so a crash or a full disk
// leaves either the old file or the new one, never a damaged one. True only when the file was
// replaced.
bool ReplaceWholeFile(const std::wstring& path, const std::string& bytes) {
    if (path.empty()) {
        return false;
    }
    const std::wstring tempPath = path + L".tmp";
    if (!WriteWholeFile(tempPath, bytes)) {
        return false;
    }
    if (!MoveFileExW(tempPath.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(tempPath.c_str());
        return false;
    }
    return true;
}

}  // namespace saltor
