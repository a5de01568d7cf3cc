#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "framework/Graphics/Cursor.h"
#include "framework/Graphics/CursorDecoder.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/NativePath.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

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

// A cursor file of one bitmap image: header, directory entry, BITMAPINFOHEADER, palette,
// colour rows and mask rows (both bottom-up, as given).
Bytes makeCursor(unsigned type, int w, int h, unsigned bits, unsigned hx, unsigned hy,
                 const Bytes& palette, const Bytes& colourRows, const Bytes& maskRows) {
    Bytes image;
    put32(image, 40);
    put32(image, std::uint32_t(w));
    put32(image, std::uint32_t(h * 2));
    put16(image, 1);
    put16(image, bits);
    put32(image, 0);
    put32(image, 0);
    put32(image, 0);
    put32(image, 0);
    put32(image, std::uint32_t(palette.size() / 4));
    put32(image, 0);
    image.insert(image.end(), palette.begin(), palette.end());
    image.insert(image.end(), colourRows.begin(), colourRows.end());
    image.insert(image.end(), maskRows.begin(), maskRows.end());
    Bytes file;
    put16(file, 0);
    put16(file, type);
    put16(file, 1);
    file.push_back(std::uint8_t(w));
    file.push_back(std::uint8_t(h));
    file.push_back(0);
    file.push_back(0);
    put16(file, hx);
    put16(file, hy);
    put32(file, std::uint32_t(image.size()));
    put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// 2 x 2, 32 bits: bottom row first in the file.
Bytes thirtyTwoBit(unsigned type = 2) {
    const Bytes colour = {1, 2, 3, 0x80, 4, 5, 6, 0xFF,      // bottom row
                          7, 8, 9, 0x00, 10, 11, 12, 0x40};  // top row
    const Bytes mask(8, 0);  // two rows of 4 bytes
    return makeCursor(type, 2, 2, 32, 1, 0, {}, colour, mask);
}

}  // namespace

TEST(CursorDecoder, ThirtyTwoBitKeepsAlphaAndHotspot) {
    const Bytes file = thirtyTwoBit();
    const auto cursor = decodeCursorFile(file.data(), file.size());
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->width, 2);
    EXPECT_EQ(cursor->height, 2);  // the header's height halved
    EXPECT_EQ(cursor->hotspotX, 1);
    EXPECT_EQ(cursor->hotspotY, 0);
    ASSERT_EQ(cursor->pixels.size(), 4u);
    EXPECT_EQ(cursor->pixels[0], 0x00090807u);
    EXPECT_EQ(cursor->pixels[1], 0x400C0B0Au);
    EXPECT_EQ(cursor->pixels[2], 0x80030201u);
    EXPECT_EQ(cursor->pixels[3], 0xFF060504u);
}

TEST(CursorDecoder, MonochromeUsesTheMask) {
    // 8 x 2, 1 bit: palette black, white; top row alternates, bottom row all white; the mask
    // makes the last pixel of the top row transparent.
    const Bytes palette = {0, 0, 0, 0, 255, 255, 255, 0};
    const Bytes colour = {0xFF, 0, 0, 0, 0xAA, 0, 0, 0};
    const Bytes mask = {0x00, 0, 0, 0, 0x01, 0, 0, 0};
    const Bytes file = makeCursor(2, 8, 2, 1, 3, 1, palette, colour, mask);
    const auto cursor = decodeCursorFile(file.data(), file.size());
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->hotspotX, 3);
    EXPECT_EQ(cursor->hotspotY, 1);
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(cursor->pixels[std::size_t(x)], x % 2 == 0 ? 0xFFFFFFFFu : 0xFF000000u) << x;
    }
    EXPECT_EQ(cursor->pixels[7], 0u);
    for (int x = 8; x < 16; ++x) EXPECT_EQ(cursor->pixels[std::size_t(x)], 0xFFFFFFFFu);
}

TEST(CursorDecoder, RefusesIconsAndDamagedFiles) {
    const Bytes icon = thirtyTwoBit(1);
    EXPECT_FALSE(decodeCursorFile(icon.data(), icon.size()));
    const Bytes file = thirtyTwoBit();
    for (std::size_t cut : {std::size_t(0), std::size_t(10), std::size_t(30), std::size_t(62 + 8)}) {
        EXPECT_FALSE(decodeCursorFile(file.data(), cut)) << cut;
    }
    Bytes wrongOffset = file;
    wrongOffset[18] = 0xFF;  // image offset past the end
    EXPECT_FALSE(decodeCursorFile(wrongOffset.data(), wrongOffset.size()));
}

TEST(Cursor, Win32MakesCursorHandles) {
    Testing::BackendScope scope("Win32");
    if (!scope.selected()) GTEST_SKIP() << "this build has no Win32 backend";
    const Bytes file = thirtyTwoBit();
    const auto cursor = cursorFromMemory(file.data(), file.size());
    ASSERT_TRUE(cursor);
    EXPECT_NE(cursor->handle(), nullptr);
    EXPECT_FALSE(cursorFromMemory(file.data(), 12));
}

TEST(Cursor, HeadlessKeepsImageHotspotAndAnimation) {
    Testing::BackendScope scope("Headless");
    const Bytes file = thirtyTwoBit();
    const auto cursor = cursorFromMemory(file.data(), file.size());
    ASSERT_TRUE(cursor);
    ASSERT_TRUE(cursor->image());
    EXPECT_EQ(cursor->image()->hotspotX, 1);
    EXPECT_EQ(cursor->image()->pixels[3], 0xFF060504u);

    const Bytes riff = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'C', 'O', 'N'};
    const auto animated = cursorFromMemory(riff.data(), riff.size());
    ASSERT_TRUE(animated);
    EXPECT_FALSE(animated->image());
    ASSERT_TRUE(animated->animation());
    EXPECT_EQ(*animated->animation(), riff);

    EXPECT_FALSE(cursorFromMemory(file.data(), 12));

    Testing::TempDir dir;
    {
        std::ofstream out(dir.path() / "arrow.cur", std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    }
    const auto loaded = cursorFromFile(Arbor::Platform::fromNativePath(dir.path() / "arrow.cur"));
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(loaded->image());
    EXPECT_EQ(loaded->image()->pixels, cursor->image()->pixels);
    EXPECT_FALSE(cursorFromFile(Arbor::Platform::fromNativePath(dir.path() / "none.cur")));
}
