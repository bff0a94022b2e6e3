#pragma once

// Files that are not what the program expects: their bytes, and the folders, locks and long
// paths they sit behind. Shared by the hostile_*_test.cpp suites.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "reference/file_bytes.h"
#include "resources/resource.h"
#include "winkit/handles_win.h"

namespace saltor {

// A fresh folder under the temporary folder, removed with all it holds at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag) {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("saltor-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++serial));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { RemoveTree(L"\\\\?\\" + path_.wstring()); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::wstring& name) const { return path_ / name; }

    // A folder below this one whose full path is longer than MAX_PATH, made level by level.
    std::filesystem::path LongFolder() const {
        std::filesystem::path folder = path_;
        while (folder.wstring().size() < MAX_PATH + 20) {
            folder /= L"un-dossier-au-nom-bien-long-pour-d\u00e9passer-la-limite";
            CreateDirectoryW(folder.c_str(), nullptr);
        }
        return folder;
    }

private:
    // By hand with the long-path prefix: std::filesystem leaves the folders of LongFolder behind.
    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                const std::wstring child = folder + L"\\" + name;
                if (name == L"." || name == L"..") {
                    continue;
                }
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(child);
                } else {
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(folder.c_str());
    }

    std::filesystem::path path_;
};

// Seeded, so a failure comes back the same on every run.
inline std::string Noise(size_t size, unsigned seed = 2026) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes) {
        b = static_cast<char>(generator());
    }
    return bytes;
}

// A file that claims `size` bytes but takes no room: its length is set, nothing is written.
inline bool MakeSparseFile(const std::filesystem::path& path, const std::string& head,
                           int64_t size) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    LARGE_INTEGER end{};
    end.QuadPart = size;
    return file.Valid() &&
           WriteFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr) &&
           SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get());
}

// Another program holding the file open with no sharing at all.
inline UniqueHandle LockFile(const std::filesystem::path& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

inline std::string BigEndian32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

inline std::string LittleEndian(uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(v >> (8 * i));
    }
    return out;
}

// A valid black-and-white PNG of side x side pixels, all white, its pixels stored uncompressed:
// about side * side / 8 bytes on disk, 4 * side * side bytes once decoded.
inline std::string PlainPng(uint32_t side) {
    const auto chunk = [](const std::string& type, const std::string& data) {
        uint32_t crc = 0xFFFFFFFF;
        for (const char c : type + data) {
            crc ^= static_cast<uint8_t>(c);
            for (int k = 0; k < 8; ++k) {
                crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
            }
        }
        return BigEndian32(static_cast<uint32_t>(data.size())) + type + data + BigEndian32(~crc);
    };
    const std::string row = '\0' + std::string((side + 7) / 8, '\xFF');  // filter 0, then bits
    std::string raw;
    raw.reserve(row.size() * side);
    for (uint32_t y = 0; y < side; ++y) {
        raw += row;
    }
    uint32_t a = 1, b = 0;  // Adler-32
    for (const char c : raw) {
        a = (a + static_cast<uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    std::string zlib = "\x78\x01";  // stored deflate blocks of at most 65,535 bytes
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const auto length = static_cast<uint32_t>(std::min<size_t>(65535, raw.size() - at));
        zlib += static_cast<char>(at + length == raw.size() ? 1 : 0);
        zlib += LittleEndian(length, 2) + LittleEndian(~length & 0xFFFF, 2);
        zlib.append(raw, at, length);
    }
    zlib += BigEndian32(b << 16 | a);
    return "\x89PNG\r\n\x1a\n" +
           chunk("IHDR", BigEndian32(side) + BigEndian32(side) + std::string("\1\0\0\0\0", 5)) +
           chunk("IDAT", zlib) + chunk("IEND", "");
}

// An icon or cursor file (type 1 or 2) of one image, given as its bytes (a PNG, say).
inline std::string IconFile(int type, const std::string& image) {
    return LittleEndian(0, 2) + LittleEndian(type, 2) + LittleEndian(1, 2) +
           std::string("\0\0\0\0", 4) + LittleEndian(type == 2 ? 0 : 1, 2) +
           LittleEndian(type == 2 ? 0 : 32, 2) +
           LittleEndian(static_cast<uint32_t>(image.size()), 4) + LittleEndian(22, 4) + image;
}

// The knight picture the program carries: a real PNG with transparency, 200 x 278.
inline std::string KnightPngBytes() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_KNIGHT_PNG), MAKEINTRESOURCEW(10));
    if (found == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(bytes, SizeofResource(module, found));
}

}  // namespace saltor
