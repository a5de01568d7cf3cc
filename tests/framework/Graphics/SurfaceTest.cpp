#include <gtest/gtest.h>

#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/DibImage32.h"
#include "framework/Graphics/Image32.h"
#include "framework/Graphics/ImageBuffer.h"
#include "framework/Graphics/Pixel.h"

using namespace Arbor::Graphics;

TEST(PixelFormat, BytesPerPixelRule) {
    const int expected[] = {1, 1, 2, 3, 2, 4, 2, 4, 2, 4};
    for (int code = 0; code < 10; ++code) EXPECT_EQ(bytesPerPixel(code), expected[code]) << code;
    EXPECT_EQ(bytesPerPixel(10), 0);
    EXPECT_EQ(bytesPerPixel(-1), 0);
    EXPECT_TRUE(isPremultipliedFormat(6));
    EXPECT_TRUE(isPremultipliedFormat(7));
    EXPECT_FALSE(isPremultipliedFormat(5));
}

TEST(Premultiply, PixelRules) {
    EXPECT_EQ(premultiplyPixel(0x80FF0000u), 0x80800000u);  // (255 * 129) >> 8 = 128
    EXPECT_EQ(premultiplyPixel(0x00FFFFFFu), 0u);
    EXPECT_EQ(premultiplyPixel(0xFF123456u), 0xFF123456u);
    EXPECT_EQ(premultiplyPixel(0x01FFFFFFu), 0x01010101u);  // (255 * 2) >> 8 = 1
    EXPECT_EQ(premultiplyPixel(0xFE102030u), Pixel(0xFE) << 24 | ((0x10 * 255) >> 8) << 16 |
                                                 ((0x20 * 255) >> 8) << 8 | ((0x30 * 255) >> 8));
}

TEST(Premultiply, OnlyFormatFiveConverts) {
    Image32 image(2, 1);
    image.bits()[0] = 0x80FF0000u;
    image.bits()[1] = 0x00ABCDEFu;
    EXPECT_EQ(image.format(), Argb32);
    ASSERT_TRUE(image.premultiply());
    EXPECT_EQ(image.format(), Argb32Premultiplied);
    EXPECT_EQ(image.bits()[0], 0x80800000u);
    EXPECT_EQ(image.bits()[1], 0u);
    image.bits()[0] = 0x80FF0000u;
    EXPECT_FALSE(image.premultiply());
    EXPECT_EQ(image.bits()[0], 0x80FF0000u);
}

TEST(ImageBuffer, FreshImageIsZeroedFormatFive) {
    Image32 image(3, 2);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 3);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.format(), Argb32);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(image.bits()[i], 0u);
}

TEST(ImageBuffer, ResizeKeepsArrayWhenByteSizeMatches) {
    auto buffer = ImageBuffer::create(4, 2);
    ASSERT_TRUE(buffer);
    buffer->pixels()[0] = 0x11223344u;
    buffer->setFormat(Argb32Premultiplied);
    const Pixel* before = buffer->pixels();
    ASSERT_TRUE(buffer->resize(2, 4));
    EXPECT_EQ(buffer->pixels(), before);
    EXPECT_EQ(buffer->pixels()[0], 0x11223344u);
    EXPECT_EQ(buffer->format(), Argb32);
    EXPECT_EQ(buffer->width(), 2);
    ASSERT_TRUE(buffer->resize(3, 3));
    EXPECT_EQ(buffer->byteSize(), 36u);
    EXPECT_EQ(buffer->pixels()[0], 0u);
}

TEST(ImageBuffer, UnusableSizesGiveNull) {
    EXPECT_FALSE(ImageBuffer::create(0, 5));
    EXPECT_FALSE(ImageBuffer::create(5, -1));
    EXPECT_FALSE(ImageBuffer::create(1 << 20, 1 << 20));
    Image32 image(0, 0);
    EXPECT_TRUE(image.isNull());
    Image32 failed(std::unique_ptr<ImageBuffer>{});
    EXPECT_TRUE(failed.isNull());
}

TEST(DibImage32, PremultipliedZeroedSurface) {
    DibImage32 dib(5, 3);
    ASSERT_FALSE(dib.isNull());
    EXPECT_EQ(dib.width(), 5);
    EXPECT_EQ(dib.height(), 3);
    EXPECT_EQ(dib.format(), Argb32Premultiplied);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(dib.bits()[i], 0u);
    // Aligned so that wide loads and the window system can use the rows directly.
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(dib.bits()) % 16, 0u);
    DibImage32 none(0, 4);
    EXPECT_TRUE(none.isNull());
}

TEST(BufferedImage, ReserveOnlyGrows) {
    BufferedImage image(8, 6);
    image.bits()[0] = 0xFF00FF00u;
    image.reserve(4, 4);  // smaller: kept with its content
    EXPECT_EQ(image.width(), 8);
    EXPECT_EQ(image.height(), 6);
    EXPECT_EQ(image.pixelAt({0, 0}), 0xFF00FF00u);
    image.reserve(8, 6);
    EXPECT_EQ(image.pixelAt({0, 0}), 0xFF00FF00u);
    image.reserve(10, 2);  // wider only: grows to (10, 6), content lost
    EXPECT_EQ(image.width(), 10);
    EXPECT_EQ(image.height(), 6);
    EXPECT_EQ(image.pixelAt({0, 0}), 0u);
    image.reserve(3, 20);
    EXPECT_EQ(image.width(), 10);
    EXPECT_EQ(image.height(), 20);
    EXPECT_EQ(image.format(), Argb32Premultiplied);
}

TEST(BufferedImage, PixelAtOutsideIsZero) {
    BufferedImage image(4, 3);
    image.bits()[2 * 4 + 3] = 0x80402010u;
    EXPECT_EQ(image.pixelAt({3, 2}), 0x80402010u);
    EXPECT_EQ(image.pixelAt({4, 2}), 0u);
    EXPECT_EQ(image.pixelAt({3, 3}), 0u);
    EXPECT_EQ(image.pixelAt({-1, 0}), 0u);
    EXPECT_EQ(image.pixelAt({0, -1}), 0u);
}
