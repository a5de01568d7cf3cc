// PNG and animated PNG files as written: read back by libpng, and the animation chunks
// in the order and numbering readers require.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Graphics/PngDecoder.h"
#include "framework/Graphics/PngWriter.h"

using namespace Arbor::Graphics;

namespace {

std::vector<std::uint8_t> pattern(int width, int height, int seed) {
    std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<std::uint8_t>(i * 37 + seed * 11 + i / 7);
    return rgba;
}

// The decoded picture as R, G, B, A bytes.
std::vector<std::uint8_t> decoded(const std::vector<std::uint8_t>& png) {
    const auto image = decodePngMemory(png.data(), png.size());
    if (!image) return {};
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < image->width() * image->height(); ++i) {
        const Pixel p = image->pixels()[i];
        rgba.insert(rgba.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p), std::uint8_t(p >> 24)});
    }
    return rgba;
}

struct Chunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

std::uint32_t u32(const std::uint8_t* p) { return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

std::vector<Chunk> chunks(const std::vector<std::uint8_t>& png) {
    std::vector<Chunk> list;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = u32(&png[at]);
        Chunk c{std::string(png.begin() + at + 4, png.begin() + at + 8),
                std::vector<std::uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + length)};
        const uLong crc = crc32(0, &png[at + 4], length + 4);
        EXPECT_EQ(u32(&png[at + 8 + length]), crc) << c.type;
        list.push_back(std::move(c));
        at += 12 + length;
    }
    return list;
}

// Inflates image data and undoes the per-row filters (the writer uses None or Sub).
std::vector<std::uint8_t> unfiltered(const std::vector<std::uint8_t>& data, int width, int height) {
    const std::size_t stride = std::size_t(width) * 4;
    std::vector<std::uint8_t> raw((stride + 1) * height);
    uLongf size = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &size, data.data(), data.size()), Z_OK);
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = &raw[y * (stride + 1)];
        EXPECT_LE(row[0], 1);
        for (std::size_t i = 0; i < stride; ++i) {
            const std::uint8_t left = (row[0] == 1 && i >= 4) ? rgba[rgba.size() - 4] : 0;
            rgba.push_back(static_cast<std::uint8_t>(row[1 + i] + left));
        }
    }
    return rgba;
}

}  // namespace

TEST(PngWriter, AStillPictureReadsBackExactly) {
    const auto rgba = pattern(5, 3, 1);
    const auto png = encodePng({5, 3, rgba});
    EXPECT_EQ(decoded(png), rgba);
    EXPECT_EQ(png, encodePng({5, 3, rgba})) << "the same pixels give the same bytes";
    EXPECT_TRUE(encodePng({0, 3, {}}).empty());
    EXPECT_TRUE(encodePng({5, 3, std::span(rgba).first(59)}).empty()) << "too few pixels for the size";
}

TEST(PngWriter, AnAnimationNumbersItsChunksAndCarriesEveryFrame) {
    const std::vector<std::vector<std::uint8_t>> frames{pattern(4, 2, 1), pattern(4, 2, 2), pattern(4, 2, 3)};
    std::vector<RgbaPicture> pictures;
    for (const auto& f : frames) pictures.push_back({4, 2, f});
    const auto png = encodeAnimatedPng(pictures, 1, 30);
    // Readers without animation show the first frame.
    EXPECT_EQ(decoded(png), frames[0]);

    const auto list = chunks(png);
    std::vector<std::string> types;
    for (const auto& c : list) types.push_back(c.type);
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "acTL", "fcTL", "IDAT", "fcTL", "fdAT", "fcTL", "fdAT", "IEND"}));
    EXPECT_EQ(u32(&list[1].data[0]), 3u) << "frames";
    EXPECT_EQ(u32(&list[1].data[4]), 0u) << "loops forever";
    std::uint32_t sequence = 0;
    std::size_t frame = 0;
    for (const auto& c : list) {
        if (c.type == "fcTL") {
            ASSERT_EQ(c.data.size(), 26u);
            EXPECT_EQ(u32(&c.data[0]), sequence++);
            EXPECT_EQ(u32(&c.data[4]), 4u);
            EXPECT_EQ(u32(&c.data[8]), 2u);
            EXPECT_EQ(c.data[20] << 8 | c.data[21], 1) << "delay 1/30 s";
            EXPECT_EQ(c.data[22] << 8 | c.data[23], 30);
        } else if (c.type == "IDAT") {
            EXPECT_EQ(unfiltered(c.data, 4, 2), frames[frame++]);
        } else if (c.type == "fdAT") {
            EXPECT_EQ(u32(&c.data[0]), sequence++);
            EXPECT_EQ(unfiltered(std::vector<std::uint8_t>(c.data.begin() + 4, c.data.end()), 4, 2), frames[frame++]);
        }
    }
    EXPECT_EQ(frame, 3u);
    pictures[1].width = 2;
    EXPECT_TRUE(encodeAnimatedPng(pictures, 1, 30).empty()) << "frames of different sizes";
    EXPECT_TRUE(encodeAnimatedPng({}, 1, 30).empty());
}
