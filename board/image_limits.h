#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace saltor {

// Pictures the board accepts. A texture or knight picture is shrunk to one square, so anything
// larger only costs memory and time: a 20,000 x 20,000 picture would take 1.6 GB to decode.
inline constexpr uint64_t kMaxImageFileBytes = 64ull << 20;
inline constexpr uint32_t kMaxImageSide = 8192;
inline constexpr uint64_t kMaxImagePixels = 40'000'000;  // a 36-megapixel photograph still fits

// How much of a file ReadImageSize needs to see (a JPEG's size may follow a large EXIF block).
inline constexpr size_t kImageHeadBytes = 256 * 1024;

struct ImageSize {
    uint32_t width = 0, height = 0;
};

// The pixel size stated in the header of a PNG, GIF, BMP, JPEG or TIFF file, from its first
// bytes, or the largest image of an icon or cursor file (which needs the whole file); nothing
// when the format is another one or the header is cut short.
std::optional<ImageSize> ReadImageSize(const uint8_t* data, size_t size);

bool ImageSizeAllowed(uint64_t width, uint64_t height);

}  // namespace saltor
