// Input shapes from alpha: exactly the non-transparent pixels, with repeated runs
// grown into one rectangle.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/InputShape.h"

using namespace Arbor::Platform;

TEST(InputShape, RectanglesCoverExactlyTheVisiblePixels) {
    // 5 wide, 4 rows, stride 6 (the last word of each row is outside the picture).
    // Rows: .XX.X|X  .XX..|X  X....|X  .....|X
    const std::uint32_t o = 0xFF000000u, t = 0x00FFFFFFu;
    const std::vector<std::uint32_t> pixels = {
        t, o, o, t, o, o,
        t, o, o, t, t, o,
        o, t, t, t, t, o,
        t, t, t, t, t, o,
    };
    const auto region = opaqueRegion(pixels.data(), 5, 4, 6);
    EXPECT_EQ(region, (std::vector<Rect>{{1, 0, 3, 2}, {4, 0, 5, 1}, {0, 2, 1, 3}}));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(regionContains(region, {x, y}), (pixels[std::size_t(y * 6 + x)] >> 24) != 0) << x << "," << y;
        }
    }
    EXPECT_TRUE(opaqueRegion(pixels.data(), 0, 4, 6).empty());
    EXPECT_TRUE(opaqueRegion(pixels.data(), 7, 4, 6).empty()) << "rows wider than their stride";
}
