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

}  // namespace saltor
