#pragma once

// Files that are not what the program expects: their bytes, and the folders, locks and long
// paths they sit behind.

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
    explicit ScratchFolder(const std::string& tag)
        : path_(std::filesystem::temp_directory_path() /
                ("saltor-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++serial_))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { RemoveTree(L"\\\\?\\" + path_.wstring()); }

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
        for (BOOL more = search != INVALID_HANDLE_VALUE; more;
             more = FindNextFileW(search, &found)) {
            const std::wstring name = found.cFileName, child = folder + L"\\" + name;
            if (name != L"." && name != L"..") {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (!DeleteFileW(child.c_str())) {  // a folder
                    RemoveTree(child);
                }
            }
        }
        FindClose(search);
        RemoveDirectoryW(folder.c_str());
    }

    static inline int serial_ = 0;
    std::filesystem::path path_;
};

// Seeded, so a failure comes back the same on every run.
inline std::string Noise(size_t size, unsigned seed = 2026) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(generator()); });
    return bytes;
}

// A file that claims `size` bytes but takes no room: its length is set, nothing is written.
inline bool MakeSparseFile(const std::filesystem::path& path, const std::string& head,
                           int64_t size) {
    WriteBytes(path, head);
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return SetFilePointerEx(file.Get(), LARGE_INTEGER{.QuadPart = size}, nullptr, FILE_BEGIN) &&
           SetEndOfFile(file.Get());
}

// Another program holding the file open with no sharing at all.
inline UniqueHandle LockFile(const std::filesystem::path& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

inline std::string LittleEndian(uint32_t v, int bytes) {
    const char all[] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                        static_cast<char>(v >> 24)};
    return std::string(all, bytes);
}

inline std::string BigEndian32(uint32_t v) {
    std::string out = LittleEndian(v, 4);
    return {out.rbegin(), out.rend()};
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
    std::string zlib = "\x78\x01";  // one stored deflate block per row
    uint32_t a = 1, b = 0;          // Adler-32
    for (uint32_t y = 0; y < side; ++y) {
        const auto length = static_cast<uint32_t>(row.size());
        zlib += static_cast<char>(y + 1 == side ? 1 : 0);
        zlib += LittleEndian(length, 2) + LittleEndian(~length & 0xFFFF, 2) + row;
        for (const char c : row) {
            a = (a + static_cast<uint8_t>(c)) % 65521;
            b = (b + a) % 65521;
        }
    }
    zlib += BigEndian32(b << 16 | a);
    return "\x89PNG\r\n\x1a\n" +
           chunk("IHDR", BigEndian32(side) + BigEndian32(side) + std::string("\1\0\0\0\0", 5)) +
           chunk("IDAT", zlib) + chunk("IEND", "");
}

// An icon or cursor file (type 1 or 2) of one image, given as its bytes (a PNG, say).
inline std::string IconFile(int type, const std::string& image) {
    return LittleEndian(type << 16, 4) + LittleEndian(1, 2) + std::string(4, '\0') +
           LittleEndian(type == 2 ? 0 : 0x200001, 4) +
           LittleEndian(static_cast<uint32_t>(image.size()), 4) + LittleEndian(22, 4) + image;
}

// The knight picture the program carries: a real PNG with transparency, 200 x 278.
inline std::string KnightPngBytes() {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_KNIGHT_PNG), RT_RCDATA);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return bytes ? std::string(bytes, SizeofResource(module, found)) : std::string();
}

}  // namespace saltor
