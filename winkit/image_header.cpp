#include "winkit/image_header.h"

#include <algorithm>

namespace saltor {
namespace {

// Reads integers of either byte order from a buffer, answering 0 past its end.
struct Bytes {
    const uint8_t* data;
    size_t size;
    bool bigEndian = false;

    uint32_t U8(size_t at) const { return at < size ? data[at] : 0u; }
    uint32_t U16(size_t at) const {
        return bigEndian ? U8(at) << 8 | U8(at + 1) : U8(at) | U8(at + 1) << 8;
    }
    uint32_t U32(size_t at) const {
        return bigEndian ? U16(at) << 16 | U16(at + 2) : U16(at) | U16(at + 2) << 16;
    }
    bool Has(size_t at, size_t count) const { return at <= size && count <= size - at; }
    bool Starts(const char* magic, size_t count) const {
        if (!Has(0, count)) {
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            if (data[i] != static_cast<uint8_t>(magic[i])) {
                return false;
            }
        }
        return true;
    }
};

std::optional<ImageSize> JpegSize(Bytes b) {
    b.bigEndian = true;
    size_t at = 2;
    while (b.Has(at, 4)) {
        if (b.U8(at) != 0xFF) {
            return std::nullopt;
        }
        const uint32_t marker = b.U8(at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (!b.Has(at, 9)) {
                return std::nullopt;
            }
            return ImageSize{b.U16(at + 7), b.U16(at + 5)};
        }
        if (marker == 0xD9 || marker == 0xDA) {  // end of image or scan before any frame
            return std::nullopt;
        }
        at += 2 + b.U16(at + 2);
    }
    return std::nullopt;
}

std::optional<ImageSize> TiffSize(Bytes b) {
    b.bigEndian = b.U8(0) == 'M';
    const size_t ifd = b.U32(4);
    if (!b.Has(ifd, 2)) {
        return std::nullopt;
    }
    const uint32_t entries = b.U16(ifd);
    ImageSize size;
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = ifd + 2 + 12 * size_t{i};
        if (!b.Has(entry, 12)) {
            return std::nullopt;
        }
        const uint32_t tag = b.U16(entry);
        const uint32_t type = b.U16(entry + 2);  // 3: SHORT, 4: LONG
        const uint32_t value = type == 3 ? b.U16(entry + 8) : b.U32(entry + 8);
        if (tag == 256) {
            size.width = value;
        } else if (tag == 257) {
            size.height = value;
        }
    }
    return size;
}

// An icon or cursor file: a directory, then images that are PNG files or bitmaps without their
// file header (of twice their height: the colour rows, then the mask). GDI+ decodes a PNG one
// whole, whatever the directory says, so every image's own header is read; the largest counts.
std::optional<ImageSize> IconSize(Bytes b) {
    const uint32_t count = b.U16(4);
    ImageSize largest;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * size_t{i};
        const size_t at = b.U32(entry + 12);
        if (!b.Has(entry, 16) || !b.Has(at, 24)) {
            return std::nullopt;
        }
        const Bytes image{b.data + at, b.size - at};
        ImageSize size;
        if (image.Starts("\x89PNG\r\n\x1a\n", 8)) {
            size = ReadImageSize(image.data, image.size).value_or(ImageSize{});
        } else {
            const auto height = static_cast<int32_t>(image.U32(8));
            size = {image.U32(4),
                    static_cast<uint32_t>((height < 0 ? -int64_t{height} : height) / 2)};
        }
        largest.width = std::max(largest.width, size.width);
        largest.height = std::max(largest.height, size.height);
    }
    return count != 0 ? std::optional(largest) : std::nullopt;
}

}  // namespace

std::optional<ImageSize> ReadImageSize(const uint8_t* data, size_t size) {
    Bytes b{data, size};
    if (b.Starts("\x89PNG\r\n\x1a\n", 8)) {
        b.bigEndian = true;
        if (!b.Has(0, 24)) {
            return std::nullopt;
        }
        return ImageSize{b.U32(16), b.U32(20)};
    }
    if (b.Starts("GIF87a", 6) || b.Starts("GIF89a", 6)) {
        if (!b.Has(0, 10)) {
            return std::nullopt;
        }
        return ImageSize{b.U16(6), b.U16(8)};
    }
    if (b.Starts("BM", 2)) {
        if (!b.Has(0, 26)) {
            return std::nullopt;
        }
        if (b.U32(14) == 12) {  // the old OS/2 header: 16-bit sizes
            return ImageSize{b.U16(18), b.U16(20)};
        }
        const auto height = static_cast<int32_t>(b.U32(22));  // negative: rows top down
        return ImageSize{b.U32(18), static_cast<uint32_t>(height < 0 ? -int64_t{height} : height)};
    }
    if (b.Starts("\xFF\xD8", 2)) {
        return JpegSize(b);
    }
    if (b.Starts("II*\0", 4) || b.Starts("MM\0*", 4)) {
        return TiffSize(b);
    }
    if (b.Starts("\0\0\1\0", 4) || b.Starts("\0\0\2\0", 4)) {
        return IconSize(b);
    }
    return std::nullopt;
}

}  // namespace saltor
