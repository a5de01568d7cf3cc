#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Graphics/ImageLoader.h"
#include "framework/Graphics/TgaDecoder.h"

using namespace Arbor::Graphics;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

struct Tga {
    std::uint8_t type = 2;
    std::uint8_t depth = 32;
    std::uint8_t descriptor = 0x20;  // top row first
    unsigned width = 1, height = 1;
    Bytes id;
    Bytes map;
    unsigned mapLength = 0;
    std::uint8_t entryBits = 0;
    Bytes data;
    bool footer = true;
    bool extension = false;
    std::uint8_t key[4] = {0, 0, 0, 0};

    Bytes build() const {
        Bytes b;
        b.push_back(std::uint8_t(id.size()));
        b.push_back(mapLength ? 1 : 0);
        b.push_back(type);
        put16(b, 0);
        put16(b, mapLength);
        b.push_back(entryBits);
        put16(b, 0);
        put16(b, 0);
        put16(b, width);
        put16(b, height);
        b.push_back(depth);
        b.push_back(descriptor);
        b.insert(b.end(), id.begin(), id.end());
        b.insert(b.end(), map.begin(), map.end());
        b.insert(b.end(), data.begin(), data.end());
        std::uint32_t extensionOffset = 0;
        if (extension) {
            extensionOffset = std::uint32_t(b.size());
            Bytes e(495, 0);
            e[0] = 495 & 0xFF;
            e[1] = 495 >> 8;
            std::memcpy(&e[470], key, 4);
            b.insert(b.end(), e.begin(), e.end());
        }
        if (footer) {
            put32(b, extensionOffset);
            put32(b, 0);
            const char* sig = "TRUEVISION-XFILE.";
            b.insert(b.end(), sig, sig + 18);  // includes the NUL
        }
        return b;
    }
};

std::unique_ptr<ImageBuffer> decode(const Bytes& b) { return decodeTgaMemory(b.data(), b.size()); }

}  // namespace

TEST(TgaDecoder, TrueColourBgra) {
    Tga t;
    t.width = 2;
    t.data = {1, 2, 3, 4, 0x10, 0x20, 0x30, 0xFF};
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->format(), Argb32);
    EXPECT_EQ(img->pixels()[0], 0x04030201u);
    EXPECT_EQ(img->pixels()[1], 0xFF302010u);
}

TEST(TgaDecoder, FooterIsRequired) {
    Tga t;
    t.data = {1, 2, 3, 4};
    t.footer = false;
    EXPECT_FALSE(decode(t.build()));
    t.footer = true;
    Bytes b = t.build();
    b[b.size() - 10] = 'x';  // damaged signature
    EXPECT_FALSE(decode(b));
}

TEST(TgaDecoder, BottomLeftOriginComesOutUpright) {
    Tga t;
    t.depth = 24;
    t.width = 1;
    t.height = 2;
    t.descriptor = 0;  // first stored row is the bottom row
    t.data = {0, 0, 0xFF, /* bottom: red */ 0xFF, 0, 0 /* top: blue */};
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0xFF0000FFu);
    EXPECT_EQ(img->pixels()[1], 0xFFFF0000u);
}

TEST(TgaDecoder, RightToLeftRowsAreMirroredBack) {
    Tga t;
    t.depth = 8;
    t.type = 3;
    t.width = 3;
    t.height = 2;
    t.descriptor = 0x30;  // top first, right to left
    t.data = {1, 2, 3, 4, 5, 6};
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    const Pixel expect[] = {3, 2, 1, 6, 5, 4};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(img->pixels()[i], 0xFF000000u | expect[i] * 0x010101u);
}

TEST(TgaDecoder, RunLengthPacketsAndCutRuns) {
    Tga t;
    t.type = 10;
    t.depth = 24;
    t.width = 3;
    t.height = 2;
    // run of 4 (blue), raw of 1 (green), run of 128 cut to the one pixel still missing
    t.data = {0x83, 0xFF, 0, 0, 0x00, 0, 0xFF, 0, 0xFF, 0, 0, 0xFF};
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    const Pixel expect[] = {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(img->pixels()[i], expect[i]) << i;
}

TEST(TgaDecoder, TruncatedDataFails) {
    Tga raw;
    raw.width = 2;
    raw.data = {1, 2, 3, 4, 5, 6, 7};  // one byte short
    EXPECT_FALSE(decode(raw.build()));
    Tga rle;
    rle.type = 10;
    rle.depth = 24;
    rle.width = 4;
    rle.data = {0x03, 1, 2, 3, 4, 5, 6};  // raw packet of 4 holding only 2
    EXPECT_FALSE(decode(rle.build()));
    Tga empty;
    empty.type = 0;
    EXPECT_FALSE(decode(empty.build()));
}

TEST(TgaDecoder, SixteenBitFiveFiveFive) {
    Tga t;
    t.depth = 16;
    t.width = 2;
    const unsigned w = (31u << 10) | (16u << 5) | 1u;
    t.data = {std::uint8_t(w), std::uint8_t(w >> 8), 0xFF, 0xFF};
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], makePixel(255, 255, 16 * 255 / 31, 255 / 31));
    EXPECT_EQ(img->pixels()[1], 0xFFFFFFFFu);  // the attribute bit does not make it transparent
}

TEST(TgaDecoder, ColourMapLookupAndIndexBeyondTheMap) {
    Tga t;
    t.type = 1;
    t.depth = 8;
    t.width = 3;
    t.mapLength = 2;
    t.entryBits = 32;
    t.map = {1, 2, 3, 0x80, 4, 5, 6, 0xFF};
    t.data = {1, 0, 200};
    t.id = {'a', 'b'};
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0xFF060504u);
    EXPECT_EQ(img->pixels()[1], 0x80030201u);
    EXPECT_EQ(img->pixels()[2], 0u);
}

TEST(TgaDecoder, ColourMapEntrySizeLimits) {
    Tga t;
    t.type = 1;
    t.depth = 8;
    t.mapLength = 1;
    t.entryBits = 16;
    t.map = {0, 0};
    t.data = {0};
    EXPECT_FALSE(decode(t.build()));
    t.entryBits = 40;
    t.map = {0, 0, 0, 0, 0};
    EXPECT_FALSE(decode(t.build()));
    t.entryBits = 24;
    t.map = {9, 8, 7};
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0xFF070809u);
}

TEST(TgaDecoder, GrayKeyColourMakesBlackTransparent) {
    Tga t;
    t.type = 3;
    t.depth = 8;
    t.width = 2;
    t.data = {0, 7};
    t.extension = true;  // key bytes 0, 0, 0, 0 -> 0xFF000000
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0u);
    EXPECT_EQ(img->pixels()[1], 0xFF070707u);
    t.extension = false;
    img = decode(t.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0xFF000000u);
}

TEST(TgaDecoder, KeyColourOnTwentyFourBitMapOnly) {
    Tga t;
    t.type = 1;
    t.depth = 8;
    t.width = 2;
    t.mapLength = 2;
    t.entryBits = 24;
    t.map = {0x30, 0x20, 0x10, 1, 2, 3};
    t.data = {0, 1};
    t.extension = true;
    t.key[0] = 0;  // (0 - 1) mod 256 = 0xFF
    t.key[1] = 0x10;
    t.key[2] = 0x20;
    t.key[3] = 0x30;
    auto img = decode(t.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0u);
    EXPECT_EQ(img->pixels()[1], 0xFF030201u);
    // True-colour pixels ignore the key.
    Tga c;
    c.depth = 24;
    c.data = {0x30, 0x20, 0x10};
    c.extension = true;
    std::memcpy(c.key, t.key, 4);
    img = decode(c.build());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0xFF102030u);
}

TEST(ImageLoader, ExtensionSelectsTheDecoder) {
    Tga t;
    t.data = {1, 2, 3, 4};
    const Bytes b = t.build();
    EXPECT_TRUE(loadImageMemory(b.data(), b.size(), u"a.tga"));
    EXPECT_TRUE(loadImageMemory(b.data(), b.size(), u"dir.x\\A.TGA"));
    EXPECT_FALSE(loadImageMemory(b.data(), b.size(), u"a.bmp"));
    EXPECT_FALSE(loadImageMemory(b.data(), b.size(), u"a.png"));
    EXPECT_FALSE(loadImageMemory(b.data(), b.size(), u"tga"));
    EXPECT_EQ(imageFileKind(u"x.PNG"), ImageFileKind::Png);
    EXPECT_EQ(imageFileKind(u"x.png"), ImageFileKind::Png);
    EXPECT_EQ(imageFileKind(u"x.png.bmp"), ImageFileKind::Unknown);
}
