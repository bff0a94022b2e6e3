#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace saltor {

// What the About box needs from the program's version data.
struct VersionNumbers {
    uint32_t productVersionMS = 0;  // major << 16 | minor
    uint32_t productVersionLS = 0;  // third << 16 | fourth
    uint32_t fileFlags = 0;
};

inline constexpr uint32_t kPreReleaseFlag = 0x2;

// "Version 3.0" for a release; "Version ß 3.0.0.1" for a pre-release, and "Version ß 0.0.0.0"
// when the data could not be read (nullopt), so that an unversioned build never passes for one.
std::wstring FormatVersionText(const std::optional<VersionNumbers>& data);

}  // namespace saltor
