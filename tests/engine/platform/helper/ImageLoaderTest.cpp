#include "engine/platform/helper/ImageLoader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/engine/platform/helper/ImageFixtures.h"

namespace mareldon {
namespace {

TEST(ImageLoaderTest, BoxHalveAveragesWhatEachPixelCovers) {
    DecodedImage image{3, 3, {}};
    // Red channel 0..8 in reading order; odd sizes drop the last row and column.
    for (uint32_t i = 0; i < 9; ++i) {
        image.pixels.push_back(0xFF000000u | (i * 10) << 16);
    }
    DecodedImage half = ImageLoader::BoxHalve(image);
    ASSERT_EQ(half.width, 1u);
    ASSERT_EQ(half.height, 1u);
    EXPECT_EQ(half.pixels[0], 0xFF000000u | 20u << 16);  // (0 + 10 + 30 + 40) / 4

    DecodedImage column{1, 4, {0x00000000, 0x000000FF, 0x00000001, 0x00000002}};
    DecodedImage halfColumn = ImageLoader::BoxHalve(column);
    ASSERT_EQ(halfColumn.width, 1u);
    ASSERT_EQ(halfColumn.height, 2u);
    EXPECT_EQ(halfColumn.pixels, (std::vector<uint32_t>{0x00000080, 0x00000002}));  // rounded means
}

TEST(ImageLoaderTest, DitherKeepsTheMeanOfAFlatArea) {
    DecodedImage image{4, 4, std::vector<uint32_t>(16, 0x88888888)};
    uint16_t out[16];
    ASSERT_TRUE(ImageLoader::Convert(image, GpuFormat::A4R4G4B4, reinterpret_cast<uint8_t*>(out), 8));
    uint32_t sum = 0;
    for (uint16_t pixel : out) {
        uint32_t red = (pixel >> 8) & 0xF;
        EXPECT_TRUE(red == 8 || red == 9);
        sum += red;
    }
    EXPECT_EQ(sum, 8u * 8 + 8u * 9);  // 0x88 / 16 = 8.5 on average

    // One-bit alpha is a threshold; eight-bit channels pass unchanged.
    DecodedImage edge{2, 1, {0x7FFFFFFF, 0x80000000}};
    uint16_t bits[2];
    ImageLoader::Convert(edge, GpuFormat::A1R5G5B5, reinterpret_cast<uint8_t*>(bits), 4);
    EXPECT_EQ(bits[0], 0x7FFF);
    EXPECT_EQ(bits[1], 0x8000);
    uint8_t alpha[2];
    ImageLoader::Convert(edge, GpuFormat::A8, alpha, 2);
    EXPECT_EQ(alpha[0], 0x7F);
    EXPECT_EQ(alpha[1], 0x80);
    EXPECT_FALSE(ImageLoader::Convert(edge, GpuFormat::D16, alpha, 2));
}

TEST(ImageLoaderTest, DecodeRefusesDamagedAndForeignData) {
    std::vector<uint8_t> png = MakePng(2, 2, {0xFF102030, 0xFF405060, 0x80708090, 0x00A0B0C0});
    DecodedImage image;
    std::string error;
    ASSERT_TRUE(ImageLoader::Decode(png.data(), png.size(), &image, &error));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFF102030, 0xFF405060, 0x80708090, 0x00A0B0C0}));

    std::vector<uint8_t> jpeg = MakeJpeg(3, 5, 0, 0, 255);
    ASSERT_TRUE(ImageLoader::Decode(jpeg.data(), jpeg.size(), &image, &error));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 5u);

    std::vector<uint8_t> corrupt = jpeg;
    for (size_t i = 20; i < corrupt.size(); ++i) {
        corrupt[i] = 0xFF;
    }
    EXPECT_FALSE(ImageLoader::Decode(corrupt.data(), corrupt.size(), &image, &error));
    EXPECT_NE(error.find("JPEG"), std::string::npos);
    EXPECT_FALSE(ImageLoader::Decode(png.data(), 30, &image, &error));
    EXPECT_NE(error.find("PNG"), std::string::npos);
    EXPECT_FALSE(ImageLoader::Decode(nullptr, 0, &image, &error));
}

}  // namespace
}  // namespace mareldon
