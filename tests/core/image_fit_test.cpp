#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "board/image_limits.h"
#include "board/knight_fit.h"
#include "winkit/image_header.h"

namespace saltor {
namespace {

TEST(ImageFitTest, TheKnightKeepsItsProportionsAndIsCentred) {
    const KnightFit portrait = FitKnight(200, 278, 70);  // the built-in knight
    EXPECT_FLOAT_EQ(portrait.height, 70.0f);
    EXPECT_NEAR(portrait.width, 50.36f, 0.005f);
    EXPECT_NEAR(portrait.x, 9.82f, 0.005f);
    EXPECT_EQ(portrait.y, 0.0f);

    const KnightFit landscape = FitKnight(300, 150, 70);
    EXPECT_EQ(landscape.width, 70.0f);
    EXPECT_EQ(landscape.height, 35.0f);
    EXPECT_EQ(landscape.x, 0.0f);
    EXPECT_EQ(landscape.y, 17.5f);

    const KnightFit square = FitKnight(37, 37, 74);
    EXPECT_EQ(square.x, 0.0f);
    EXPECT_EQ(square.y, 0.0f);
    EXPECT_EQ(square.width, 74.0f);
    EXPECT_EQ(square.height, 74.0f);

    for (const KnightFit& none : {FitKnight(0, 278, 70), FitKnight(200, 0, 70),
                                  FitKnight(-5, 9, 70), FitKnight(200, 278, 0)}) {
        EXPECT_TRUE(none.Empty());
    }
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    return std::vector<uint8_t>(values.begin(), values.end());
}

TEST(ImageFitTest, HeadersGiveThePictureSizeBeforeDecoding) {
    struct Case {
        const char* name;
        std::vector<uint8_t> head;
        uint32_t width, height;
    };
    const Case cases[] = {
        {"png", Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0,    13,
                       'I',  'H', 'D', 'R', 0,    0,    0x4E, 0x20, 0, 0, 0x01, 0x16}),
         20000, 278},
        {"gif", Bytes({'G', 'I', 'F', '8', '9', 'a', 0x2C, 0x01, 0x96, 0x00}), 300, 150},
        {"bmp, rows bottom up", Bytes({'B', 'M', 0, 0, 0, 0,  0, 0, 0, 0,  54, 0, 0,
                                       0,   40,  0, 0, 0, 60, 0, 0, 0, 60, 0,  0, 0}),
         60, 60},
        {"bmp, rows top down", Bytes({'B', 'M', 0, 0, 0, 0,   0, 0, 0, 0,    54,   0,    0,
                                      0,   40,  0, 0, 0, 100, 0, 0, 0, 0xD8, 0xFF, 0xFF, 0xFF}),
         100, 40},
        // An APP0 segment, a fill byte, then the frame header: height 0x0200, width 0x0300.
        {"jpeg",
         Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xFF, 0xC2, 0, 11, 8, 0x02, 0x00, 0x03,
                0x00}),
         768, 512},
        {"tiff, big-endian",
         Bytes({'M', 'M',  0,    42, 0, 0, 0, 8, 0, 2, 1, 0, 0, 3, 0, 0,    0,
                1,   0x4E, 0x20, 0,  0, 1, 1, 0, 4, 0, 0, 0, 1, 0, 0, 0x4E, 0x20}),
         20000, 20000},
    };
    for (const Case& c : cases) {
        const auto size = ReadImageSize(c.head.data(), c.head.size());
        ASSERT_TRUE(size.has_value()) << c.name;
        EXPECT_EQ(size->width, c.width) << c.name;
        EXPECT_EQ(size->height, c.height) << c.name;
        // Cut short, the header says nothing rather than something wrong.
        EXPECT_FALSE(ReadImageSize(c.head.data(), c.head.size() - 1).has_value()) << c.name;
    }
    const auto text = Bytes({'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(ReadImageSize(text.data(), text.size()).has_value());
    EXPECT_FALSE(ReadImageSize(nullptr, 0).has_value());

    EXPECT_TRUE(ImageSizeAllowed(200, 278));
    EXPECT_TRUE(ImageSizeAllowed(7360, 4912));  // a 36-megapixel photograph
    EXPECT_FALSE(ImageSizeAllowed(20000, 20000));
    EXPECT_FALSE(ImageSizeAllowed(8193, 10));
    EXPECT_FALSE(ImageSizeAllowed(8000, 8000));
    EXPECT_FALSE(ImageSizeAllowed(0, 60));
}

}  // namespace
}  // namespace saltor
