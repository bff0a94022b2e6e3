#pragma once

#include <cstdint>

namespace saltor {

// Pictures the board accepts. A texture or knight picture is shrunk to one square, so anything
// larger only costs memory and time: a 20,000 x 20,000 picture would take 1.6 GB to decode.
inline constexpr uint64_t kMaxImageFileBytes = 64ull << 20;
inline constexpr uint32_t kMaxImageSide = 8192;
inline constexpr uint64_t kMaxImagePixels = 40'000'000;  // a 36-megapixel photograph still fits

inline bool ImageSizeAllowed(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

}  // namespace saltor
