#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "framework/Graphics/Blend.h"

using namespace Arbor::Graphics;
using namespace Arbor::Graphics::Blend;

TEST(Opacity, ConversionTruncates) {
    EXPECT_EQ(opacityToInt(1.0), 255);
    EXPECT_EQ(opacityToInt(0.0), 0);
    EXPECT_EQ(opacityToInt(0.5), 127);  // 127.5 truncated
    EXPECT_EQ(opacityToInt(0.999), 254);
    EXPECT_EQ(opacityToInt(2.0), 255);
    EXPECT_EQ(opacityToInt(-1.0), 0);
}

TEST(Opacity, StepOnPremultipliedPixels) {
    EXPECT_EQ(applyOpacity(0x80402010u, 255), 0x80402010u);  // the exact shortcut
    EXPECT_EQ(applyOpacity(0x80402010u, 0), 0u);
    // k = (128 * 129) >> 8 = 64; channels (c * 64) >> 8
    EXPECT_EQ(applyOpacity(0x80402010u, 128), 0x40100804u);
    // k = (255 * 101) >> 8 = 100
    EXPECT_EQ(applyOpacity(0xFFFF8000u, 100), Pixel(100) << 24 | Pixel((255 * 100) >> 8) << 16 |
                                                  Pixel((128 * 100) >> 8) << 8);
    EXPECT_EQ(applyOpacity(0x01FFFFFFu, 100), 0u);  // k = (1 * 101) >> 8 = 0
}

TEST(SourceOver, Rules) {
    // A fully transparent source leaves the destination unchanged.
    EXPECT_EQ(sourceOver(0x80402010u, 0x00000000u), 0x80402010u);
    // An opaque source or an empty destination gives the source.
    EXPECT_EQ(sourceOver(0x80402010u, 0xFF010203u), 0xFF010203u);
    EXPECT_EQ(sourceOver(0x00000000u, 0x40102030u), 0x40102030u);
    // General: s_c + (((256 - 0x40) * d_c) >> 8); alpha 0x40 + 0x80 - ((0x40 * 0x80 * 32897) >> 23)
    const Pixel s = 0x40102030u, d = 0x80804020u;
    const Pixel expected = Pixel(0x40 + 0x80 - ((0x40 * 0x80 * 32897) >> 23)) << 24 |
                           Pixel(0x10 + ((192 * 0x80) >> 8)) << 16 |
                           Pixel(0x20 + ((192 * 0x40) >> 8)) << 8 | Pixel(0x30 + ((192 * 0x20) >> 8));
    EXPECT_EQ(sourceOver(d, s), expected);
    EXPECT_EQ(expected, 0xA0705048u);
    // An opaque destination stays opaque.
    EXPECT_EQ(alphaOf(sourceOver(0xFF000000u, 0x01010101u)), 255u);
}

TEST(SourceOver, OpacityThroughBlendPixel) {
    const Pixel d = 0xFF204060u, s = 0x80402010u;
    EXPECT_EQ(blendPixel(2, d, s, 255), sourceOver(d, s));
    EXPECT_EQ(blendPixel(2, d, s, 0), d);              // opacity 0 draws nothing visible
    EXPECT_EQ(blendPixel(2, 0u, s, 0), 0u);
    EXPECT_EQ(blendPixel(2, d, s, 128), sourceOver(d, 0x40100804u));
    // Copy (0, 1 and anything above 28) writes the source after the opacity step.
    EXPECT_EQ(blendPixel(0, d, s, 128), 0x40100804u);
    EXPECT_EQ(blendPixel(1, d, s, 255), s);
    EXPECT_EQ(blendPixel(29, d, s, 0), 0u);
    EXPECT_EQ(blendPixel(-3, d, s, 255), s);
}

// Separable modes. Columns: opaque over opaque at opacity 1 (the result is f per channel);
// translucent over translucent at opacity 128/255; over a destination with alpha 0 at
// opacity 200/255; opacity 0; a source with alpha 0; an opaque source over alpha 0.
struct ModeCase {
    int mode;
    Pixel expected[6];
};

const Pixel destinations[6] = {0xFFC8641Eu, 0x80402010u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u};
const Pixel sources[6] = {0xFF50B4FFu, 0xC0603090u, 0xC0603090u, 0xC0603090u, 0x00000000u, 0xFF102030u};
const int opacities[6] = {255, 128, 200, 0, 255, 255};

const ModeCase modeCases[] = {
    {3, {0xFF50B4FFu, 0xB04C2640u, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
    {4, {0xFF3E461Eu, 0xB030160Du, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {5, {0xFF50241Eu, 0xB0271309u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {6, {0xFF19191Eu, 0xB0271309u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {7, {0xFF50641Eu, 0xB0402010u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {8, {0xFFC8641Eu, 0xA0402010u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {9, {0xFFC8B4FFu, 0xB04C2640u, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
    {10, {0xFF50B4FFu, 0xB04C2640u, 0x96381C54u, 0x80402010u, 0xC0402010u, 0xFF102030u}},
    {11, {0xFFFFFFFFu, 0xB04E2217u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {12, {0xFFFFFFFFu, 0xB0643246u, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
    {13, {0xFFFFFFFFu, 0xB0643246u, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
    {14, {0xFFD9D1FFu, 0xB05A2F42u, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
    {15, {0xFFB38D3Cu, 0xB0391810u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {16, {0xFFB77C57u, 0xB03B1912u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {17, {0xFF7DA3FFu, 0xB039181Bu, 0x96000013u, 0x80402010u, 0x80402010u, 0xFF000000u}},
    {18, {0xFFA8AAFFu, 0xB0281310u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {19, {0xFF69CDFFu, 0xB028131Cu, 0x96000013u, 0x80402010u, 0x80402010u, 0xFF000000u}},
    {20, {0xFFA069FFu, 0xB0402016u, 0x96000013u, 0x80402010u, 0x80402010u, 0xFF000000u}},
    {21, {0xFFFFFFFFu, 0xB0271309u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {22, {0xFF7850E1u, 0xB033193Au, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
    {23, {0xFF9A8AE1u, 0xB0512D3Fu, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
    {24, {0xFF780000u, 0xB0271309u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {25, {0xFFFF8D1Eu, 0xB0675314u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {26, {0xFF40241Eu, 0xB0402010u, 0x00000000u, 0x80402010u, 0x80402010u, 0x00000000u}},
    {27, {0xFFD8F4FFu, 0xB04C2640u, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
    {28, {0xFF98D0E1u, 0xB033193Au, 0x96381C54u, 0x80402010u, 0x80402010u, 0xFF102030u}},
};

TEST(BlendModes, EveryModeAgainstHandValues) {
    for (const auto& c : modeCases) {
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(blendPixel(c.mode, destinations[i], sources[i], opacities[i]), c.expected[i])
                << "mode " << c.mode << " case " << i;
        }
        // Rows give what single pixels give.
        std::vector<Pixel> row(destinations, destinations + 6);
        for (int o : {0, 128, 255}) {
            std::vector<Pixel> expect(row);
            for (int i = 0; i < 6; ++i) expect[std::size_t(i)] = blendPixel(c.mode, row[std::size_t(i)], sources[i], o);
            std::vector<Pixel> got(row);
            blendRow(c.mode, o, got.data(), sources, 6);
            EXPECT_EQ(got, expect) << "mode " << c.mode << " opacity " << o;
        }
    }
}

TEST(BlendModes, ChannelFunctionsByHand) {
    // Multiply: (200 * 80 * 32897) >> 23 = 62
    EXPECT_EQ(channelFunction(4, 200, 80), 62);
    // ColorBurn: (100 - 255) * 255 / 180 = -219 (truncated toward zero), + 255 = 36
    EXPECT_EQ(channelFunction(5, 100, 180), 36);
    EXPECT_EQ(channelFunction(5, 100, 0), 0);
    EXPECT_EQ(channelFunction(5, 0, 1), 0);  // max(0, -65025 + 255)
    // LinearBurn: 200 + 80 = 280 -> 25; 100 + 100 = 200 -> 0
    EXPECT_EQ(channelFunction(6, 200, 80), 25);
    EXPECT_EQ(channelFunction(6, 100, 100), 0);
    EXPECT_EQ(channelFunction(6, 127, 128), 0);
    EXPECT_EQ(channelFunction(6, 127, 128 + 0) + channelFunction(6, 128, 127), 0);
    EXPECT_EQ(channelFunction(6, 128, 128), 1);
    // ColorDodge: 100 * 255 / (255 - 180) = 340 -> 255; 30 * 255 / 155 = 49
    EXPECT_EQ(channelFunction(11, 100, 180), 255);
    EXPECT_EQ(channelFunction(11, 30, 100), 49);
    EXPECT_EQ(channelFunction(11, 0, 255), 255);
    // Screen: (180 * 8388735 - 100 * (180 - 255) * 32897) >> 23 = 209
    EXPECT_EQ(channelFunction(14, 100, 180), 209);
    // Overlay above 127 (wraps past 2^31 before the subtraction): 255 - 2(255-a)(255-b)/255
    EXPECT_EQ(channelFunction(15, 255, 255), 255);
    EXPECT_EQ(channelFunction(15, 128, 0), 1);
    EXPECT_EQ(channelFunction(15, 200, 80), 179);
    // Overlay below 128: (a * b * 65794) >> 23 = 2ab/255
    EXPECT_EQ(channelFunction(15, 100, 180), 141);
    // HardLight tests on b: the same two formulas swapped by the source value.
    EXPECT_EQ(channelFunction(17, 100, 180), channelFunction(15, 180, 100));
    EXPECT_EQ(channelFunction(17, 200, 80), 125);
    // SoftLight below 128: (200 * 80 * 65794 + ((95 * 200 * 200 / 255) * 32897)) >> 23
    //   = (1052704000 + 14901 * 32897) >> 23 = 183
    EXPECT_EQ(channelFunction(16, 200, 80), 183);
    // SoftLight from 128: ((255 - 180) * 100 * 2 + trunc(1680 * 10)) * 32897 >> 23 = 124
    EXPECT_EQ(channelFunction(16, 100, 180), 124);
    EXPECT_EQ(channelFunction(16, 0, 200), 0);  // sqrt(0) = 0
    // VividLight: b >= 128: min(255, 100 * 255 / (510 - 360)) = 170; b < 128 burns.
    EXPECT_EQ(channelFunction(18, 100, 180), 170);
    EXPECT_EQ(channelFunction(18, 200, 80), 168);  // (200-255)*255/160 = -87, + 255
    EXPECT_EQ(channelFunction(18, 50, 255), 255);
    EXPECT_EQ(channelFunction(18, 50, 0), 0);
    // HardMix: the vivid-light value thresholded at 128 into 0 or 255.
    EXPECT_EQ(channelFunction(21, 100, 180), 255);
    EXPECT_EQ(channelFunction(21, 100, 60), 0);
    // LinearLight, PinLight, Difference, Exclusion, Subtract, Divide, bit operations.
    EXPECT_EQ(channelFunction(19, 100, 180), 205);
    EXPECT_EQ(channelFunction(19, 10, 20), 0);
    EXPECT_EQ(channelFunction(20, 200, 180), 200);
    EXPECT_EQ(channelFunction(20, 50, 180), 105);
    EXPECT_EQ(channelFunction(20, 200, 80), 160);
    EXPECT_EQ(channelFunction(22, 30, 255), 225);
    // Exclusion: ((255 * 128 + (128 - 255) * 30) * 2 - 30 - 255) * 32897 >> 23 = 225
    EXPECT_EQ(channelFunction(23, 30, 255), 225);
    EXPECT_EQ(channelFunction(24, 200, 80), 120);
    EXPECT_EQ(channelFunction(24, 80, 200), 0);
    EXPECT_EQ(channelFunction(25, 100, 180), 141);
    EXPECT_EQ(channelFunction(25, 100, 0), 255);
    EXPECT_EQ(channelFunction(26, 0xC8, 0x50), 0x40);
    EXPECT_EQ(channelFunction(27, 0xC8, 0x50), 0xD8);
    EXPECT_EQ(channelFunction(28, 0xC8, 0x50), 0x98);
}

TEST(BlendModes, CoveredOnlyAndVividLightSpecialCase) {
    for (int mode = 3; mode <= 28; ++mode) {
        const Pixel r = blendPixel(mode, 0x00000000u, 0xFF808080u, 255);
        if (isCoveredOnly(mode)) {
            EXPECT_EQ(r, 0u) << mode;
        }
    }
    // Multiply over alpha 0 gives 0 even for an opaque source.
    EXPECT_EQ(blendPixel(4, 0x00000000u, 0xFFFFFFFFu, 255), 0u);
    // VividLight: a black result over an empty destination is fully transparent ...
    EXPECT_EQ(blendPixel(18, 0x00000000u, 0xFF000000u, 255), 0u);
    // ... but a coloured one keeps its alpha: b = 255 gives 255 in that channel.
    EXPECT_EQ(blendPixel(18, 0x00000000u, 0xFF0000FFu, 255), 0xFF0000FFu);
}

TEST(BlendModes, WholePixelChoice) {
    const Pixel dark = 0xFF101010u, light = 0x80707070u;
    // DarkerColor takes the pixel with the smaller sum (the destination on a tie goes to the source).
    EXPECT_EQ(blendPixel(8, dark, light, 255), dark);
    EXPECT_EQ(blendPixel(8, light, dark, 255), dark);
    EXPECT_EQ(blendPixel(10, dark, light, 255), Pixel(0xFF) << 24 | blendPixel(3, dark, light, 255));
    // LighterColor keeps a lighter destination, blending it with its own alpha.
    EXPECT_EQ(blendPixel(10, light, dark, 255), blendPixel(3, light, light, 255));
}

TEST(SourceOverRows, Sse2MatchesPortableBitForBit) {
    std::mt19937 random(1234);
    // Alphas drawn from the interesting values as well as anything at all, colours not
    // necessarily premultiplied: both paths must agree on every word.
    const std::uint32_t alphas[] = {0, 1, 127, 128, 254, 255};
    for (int round = 0; round < 400; ++round) {
        const std::size_t n = std::size_t(random() % 67);
        std::vector<Pixel> src(n), dst(n);
        for (std::size_t i = 0; i < n; ++i) {
            src[i] = random();
            dst[i] = random();
            if (random() % 2) src[i] = (src[i] & 0x00FFFFFFu) | alphas[random() % 6] << 24;
            if (random() % 2) dst[i] = (dst[i] & 0x00FFFFFFu) | alphas[random() % 6] << 24;
            if (random() % 3 == 0) src[i] = premultiplyPixel(src[i]);
        }
        if (round % 5 == 0) {
            for (auto& p : src) p |= 0xFF000000u;  // all opaque: the store-only path
        } else if (round % 5 == 1) {
            for (auto& p : src) p = 0;  // all clear: the skip path
        }
        auto a = dst, b = dst, c = dst, w = dst;
        sourceOverRowPortable(a.data(), src.data(), n);
        sourceOverRowSse2(b.data(), src.data(), n);
        sourceOverRowAvx2(w.data(), src.data(), n);
        for (std::size_t i = 0; i < n; ++i) c[i] = sourceOver(c[i], src[i]);
        ASSERT_EQ(a, c) << round;
        ASSERT_EQ(b, c) << round;
        ASSERT_EQ(w, c) << round;
    }
}

TEST(SourceOverRows, ExhaustiveAlphaPairs) {
    // Every (alpha(s), alpha(d)) pair with fixed colours, through both row paths.
    std::vector<Pixel> src, dst;
    for (std::uint32_t sa = 0; sa < 256; ++sa) {
        for (std::uint32_t da = 0; da < 256; ++da) {
            src.push_back(premultiplyPixel(sa << 24 | 0xFF7F01u));
            dst.push_back(premultiplyPixel(da << 24 | 0x80FE33u));
        }
    }
    auto a = dst, b = dst, w = dst;
    sourceOverRowPortable(a.data(), src.data(), src.size());
    sourceOverRowSse2(b.data(), src.data(), src.size());
    sourceOverRowAvx2(w.data(), src.data(), src.size());
    for (std::size_t i = 0; i < src.size(); ++i) {
        ASSERT_EQ(a[i], sourceOver(dst[i], src[i])) << i;
        ASSERT_EQ(b[i], a[i]) << i;
        ASSERT_EQ(w[i], a[i]) << i;
    }
}

TEST(SourceOverRows, Avx2MatchesPortableOnMixedRuns) {
    if (!hasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    // Eight-pixel groups that are all opaque, all clear over covered or uncovered
    // destinations, or mixed, at every offset so that the tail code runs as well.
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        const std::size_t n = 8 * std::size_t(1 + random() % 6) + std::size_t(random() % 8);
        std::vector<Pixel> src(n), dst(n);
        const std::uint32_t groupKind = random() % 4;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t kind = (i / 8) % 2 ? random() % 4 : groupKind;
            src[i] = random();
            dst[i] = random() | 0x01000000u;
            if (kind == 0) src[i] |= 0xFF000000u;
            if (kind == 1) src[i] &= 0x00FFFFFFu;
            if (kind == 2) src[i] &= 0x00FFFFFFu, dst[i] &= 0x00FFFFFFu;
            if (kind == 3 && random() % 4 == 0) dst[i] &= 0x00FFFFFFu;
        }
        auto a = dst, w = dst;
        sourceOverRowPortable(a.data(), src.data(), n);
        sourceOverRowAvx2(w.data(), src.data(), n);
        ASSERT_EQ(w, a) << round;
    }
}
