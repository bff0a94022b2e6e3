#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace saltor {

// How much of a file ReadImageSize needs to see (a JPEG's size may follow a large EXIF block).
inline constexpr size_t kImageHeadBytes = 256 * 1024;

struct ImageSize {
    uint32_t width = 0, height = 0;
};

// The pixel size stated in the header of a PNG, GIF, BMP, JPEG or TIFF file, from its first
// bytes, or the largest image of an icon or cursor file (which needs the whole file); nothing
// when the format is another one or the header is cut short. Portable, so tested natively.
std::optional<ImageSize> ReadImageSize(const uint8_t* data, size_t size);

}  // namespace saltor
