#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "winkit/handles_win.h"

namespace saltor {

// Everyone else may go on reading, writing and deleting the file while we read it.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A file opened for reading, for the readers that look at a file's size and head before they
// trust it (settings, cursors, pictures, the game file).
class ReadOnlyFile {
public:
    ReadOnlyFile(const std::wstring& path, DWORD share);

    bool Opened() const { return file_.Valid(); }
    // The size in bytes; 0 when it is empty or cannot be had.
    uint64_t Size() const;
    // Up to `count` more bytes (fewer at the end of the file); nothing when the read fails.
    std::optional<std::string> Read(size_t count);

private:
    UniqueHandle file_;
};

// The running program file's full path; empty when it cannot be had.
std::wstring ProgramFilePath();

// The new file is written beside the old one and then moved over it, so a crash or a full disk
// leaves either the old file or the new one, never a damaged one. True only when the file was
// replaced.
bool ReplaceWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace saltor
