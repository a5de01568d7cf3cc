#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "framework/Graphics/BilinearRow.h"
#include "framework/Graphics/Blend.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/CosineTable.h"
#include "framework/Graphics/Image32.h"
#include "framework/Graphics/Painter.h"

using namespace Arbor::Graphics;

namespace {

// A premultiplied image whose pixel (x, y) is opaque with red = x, green = y.
std::unique_ptr<Image32> gradient(int w, int h) {
    auto owned = std::make_unique<Image32>(w, h);
    Image32& image = *owned;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.bits()[y * w + x] = makePixel(255, std::uint32_t(x), std::uint32_t(y), 0);
    image.buffer().setFormat(Argb32Premultiplied);
    return owned;
}

Pixel at(const PaintDevice& d, int x, int y) { return d.bits()[y * d.width() + x]; }

DrawParams params(Sampling s, std::uint32_t flip = 0, BlendMode mode = BlendMode::SourceOver,
                  double opacity = 1.0) {
    DrawParams p;
    p.sampling = s;
    p.flip = flip;
    p.blendMode = mode;
    p.opacity = opacity;
    return p;
}

class Window : public PaintDevice, public BackBufferOwner {
public:
    Window() : buffer_(16, 16) {}
    std::int32_t width() const override { return 4; }
    std::int32_t height() const override { return 4; }
    std::int32_t format() const override { return buffer_.format(); }
    Pixel* bits() override { return buffer_.bits(); }
    const Pixel* bits() const override { return buffer_.bits(); }
    bool isNull() const override { return buffer_.isNull(); }
    BufferedImage* backBuffer() override { return &buffer_; }
    BufferedImage buffer_;
};

}  // namespace

TEST(Painter, ValidityAndFormats) {
    Image32 none(0, 0);
    EXPECT_FALSE(Painter(none).isValid());
    BufferedImage target(4, 4);
    Painter painter(target);
    EXPECT_TRUE(painter.isValid());
    EXPECT_EQ(painter.drawParams().sampling, Sampling::Bilinear);
    EXPECT_EQ(painter.drawParams().blendMode, BlendMode::SourceOver);
    EXPECT_EQ(painter.drawParams().opacity, 1.0);
    EXPECT_EQ(painter.font().size, 14);
    EXPECT_EQ(painter.font().colour, 0xFF000000u);
    EXPECT_EQ(painter.font().quality, 6);

    Image32 straight(2, 2);  // format 5: must be premultiplied first
    EXPECT_FALSE(painter.drawImageAt(straight, {0, 0}, {0, 0, 2, 2}, params(Sampling::Direct)));
    EXPECT_FALSE(painter.drawImage(straight, {0, 0, 2, 2}, {0, 0, 2, 2}, params(Sampling::Direct)));
    straight.premultiply();
    EXPECT_TRUE(painter.drawImageAt(straight, {0, 0}, {0, 0, 2, 2}, params(Sampling::Direct)));
    EXPECT_FALSE(painter.drawImage(straight, {0, 0, 2, 2}, {0, 0, 2, 2},
                                   params(static_cast<Sampling>(4))));
    EXPECT_FALSE(painter.drawImage(none, {0, 0, 2, 2}, {0, 0, 2, 2}, params(Sampling::Direct)));

    // A straight-alpha target takes fills but not image drawing.
    Image32 plain(3, 3);
    Painter onPlain(plain);
    EXPECT_FALSE(onPlain.drawImageAt(straight, {0, 0}, {0, 0, 2, 2}, params(Sampling::Direct)));
    EXPECT_TRUE(onPlain.fillRect({1, 1, 9, 9}, 0x12345678u));
    EXPECT_EQ(at(plain, 0, 0), 0u);
    EXPECT_EQ(at(plain, 2, 2), 0x12345678u);
}

TEST(Painter, WidgetDrawsIntoItsBackBuffer) {
    Window window;
    Painter painter(window);
    ASSERT_EQ(painter.target(), &window.buffer_);
    EXPECT_TRUE(painter.fillRect({0, 0, 100, 1}, 0xFF00FF00u));
    // The buffer's row is 16 pixels wide, not the window's 4.
    EXPECT_EQ(window.buffer_.pixelAt({15, 0}), 0xFF00FF00u);
    EXPECT_EQ(window.buffer_.pixelAt({0, 1}), 0u);
}

TEST(Painter, DrawImageAtClipsAgainstBothImages) {
    const auto owned = gradient(4, 3);
    const Image32& src = *owned;
    BufferedImage target(5, 5);
    Painter painter(target);
    // Source rectangle reaching past the source and a destination hanging off the left.
    EXPECT_TRUE(painter.drawImageAt(src, {-1, 1}, {1, 0, 6, 3}, params(Sampling::Bilinear)));
    // Column -1 would take source x=1; visible column 0 takes x=2, column 1 takes x=3;
    // source columns 4 and 5 do not exist.
    EXPECT_EQ(at(target, 0, 1), makePixel(255, 2, 0, 0));
    EXPECT_EQ(at(target, 1, 3), makePixel(255, 3, 2, 0));
    EXPECT_EQ(at(target, 2, 1), 0u);
    EXPECT_EQ(at(target, 0, 0), 0u);
    // Entirely outside: nothing left, failure.
    EXPECT_FALSE(painter.drawImageAt(src, {5, 0}, {0, 0, 4, 3}, params(Sampling::Direct)));
    EXPECT_FALSE(painter.drawImageAt(src, {0, 0}, {4, 0, 8, 3}, params(Sampling::Direct)));

    // A scaled draw whose source rectangle runs past the image's right edge leaves the
    // rest of the destination alone: reading on would take the next row's first pixel.
    const auto two = gradient(2, 2);
    for (Sampling s : {Sampling::Direct, Sampling::Nearest, Sampling::Bilinear, Sampling::AreaAverage}) {
        BufferedImage row(4, 1);
        Painter p(row);
        ASSERT_TRUE(p.drawImage(*two, {0, 0, 3, 1}, {0, 0, 3, 1}, params(s, 0, BlendMode::Copy))) << int(s);
        EXPECT_EQ(at(row, 0, 0), makePixel(255, 0, 0, 0)) << int(s);
        EXPECT_EQ(at(row, 1, 0), makePixel(255, 1, 0, 0)) << int(s);
        EXPECT_EQ(at(row, 2, 0), 0u) << int(s);
    }
}

TEST(Painter, MirroredAxisClipsFromTheFarSide) {
    const auto owned = gradient(4, 2);
    const Image32& src = *owned;
    BufferedImage target(3, 2);
    Painter painter(target);
    // Mirrored: destination x = 1 + 3 - t for source offset t; x = 3 and 4 fall off the
    // right, which removes the first source columns (t = 0, 1), not the last ones.
    ASSERT_TRUE(painter.drawImageAt(src, {1, 0}, {0, 0, 4, 2}, params(Sampling::Direct, FlipHorizontal)));
    EXPECT_EQ(at(target, 0, 0), 0u);
    EXPECT_EQ(at(target, 1, 0), makePixel(255, 3, 0, 0));
    EXPECT_EQ(at(target, 2, 0), makePixel(255, 2, 0, 0));
    // Vertical mirror puts the last source row on top.
    BufferedImage t2(4, 2);
    Painter p2(t2);
    ASSERT_TRUE(p2.drawImageAt(src, {0, 0}, {0, 0, 4, 2}, params(Sampling::Direct, FlipVertical)));
    EXPECT_EQ(at(t2, 3, 0), makePixel(255, 3, 1, 0));
    EXPECT_EQ(at(t2, 3, 1), makePixel(255, 3, 0, 0));
    // Source clipped on its right while mirrored: source offsets 2, 3 do not exist and would
    // land on the left.
    BufferedImage t3(4, 1);
    Painter p3(t3);
    ASSERT_TRUE(p3.drawImageAt(src, {0, 0}, {2, 0, 6, 1}, params(Sampling::Direct, FlipHorizontal)));
    EXPECT_EQ(at(t3, 0, 0), 0u);
    EXPECT_EQ(at(t3, 1, 0), 0u);
    EXPECT_EQ(at(t3, 2, 0), makePixel(255, 3, 0, 0));
    EXPECT_EQ(at(t3, 3, 0), makePixel(255, 2, 0, 0));
}

TEST(Painter, NearestScaling) {
    const auto owned = gradient(3, 2);
    const Image32& src = *owned;
    BufferedImage target(6, 4);
    Painter painter(target);
    ASSERT_TRUE(painter.drawImage(src, {0, 0, 3, 2}, {0, 0, 6, 4}, params(Sampling::Nearest)));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(at(target, x, y), makePixel(255, std::uint32_t(x / 2), std::uint32_t(y / 2), 0));
    // Shrinking 3 -> 2: step = 3 * 65536 / 2, columns floor(0), floor(1.5) = 0, 1.
    BufferedImage small(2, 1);
    Painter ps(small);
    ASSERT_TRUE(ps.drawImage(src, {0, 0, 3, 1}, {0, 0, 2, 1}, params(Sampling::Nearest, FlipHorizontal)));
    EXPECT_EQ(at(small, 0, 0), makePixel(255, 1, 0, 0));
    EXPECT_EQ(at(small, 1, 0), makePixel(255, 0, 0, 0));
}

TEST(Painter, BilinearWeights) {
    Image32 src(2, 1);
    src.bits()[0] = 0xFF000000u;
    src.bits()[1] = 0xFF0000FFu;
    src.buffer().setFormat(Argb32Premultiplied);
    BufferedImage target(4, 1);
    Painter painter(target);
    // step = 2 * 65536 / 4 = 0x8000: fx = 0, 0x80, 0, 0x80; the last column's neighbour is
    // clamped to the last source column.
    ASSERT_TRUE(painter.drawImage(src, {0, 0, 2, 1}, {0, 0, 4, 1}, params(Sampling::Bilinear, 0, BlendMode::Copy)));
    EXPECT_EQ(at(target, 0, 0), 0xFF000000u);
    EXPECT_EQ(at(target, 1, 0), 0xFF00007Fu);  // (0 * 128 + 255 * 128) >> 8 = 127
    EXPECT_EQ(at(target, 2, 0), 0xFF0000FFu);
    EXPECT_EQ(at(target, 3, 0), 0xFF0000FFu);
}

TEST(Painter, AreaAverageWithPartialCoverage) {
    Image32 src(3, 1);
    src.bits()[0] = 0xFF000000u;
    src.bits()[1] = 0xFF000090u;
    src.bits()[2] = 0xFF0000F0u;
    src.buffer().setFormat(Argb32Premultiplied);
    BufferedImage target(2, 1);
    Painter painter(target);
    ASSERT_TRUE(painter.drawImage(src, {0, 0, 3, 1}, {0, 0, 2, 1}, params(Sampling::AreaAverage, 0, BlendMode::Copy)));
    // Footprints [0, 1.5) and [1.5, 3): weights 256 + 128, then 128 + 256.
    EXPECT_EQ(at(target, 0, 0), Pixel(0xFF000000u | (0x90 * 128) / 384));
    EXPECT_EQ(at(target, 1, 0), Pixel(0xFF000000u | (0x90 * 128 + 0xF0 * 256) / 384));
    // 2:1 in both axes is a plain box average.
    Image32 quad(2, 2);
    quad.bits()[0] = 0x40000000u;
    quad.bits()[1] = 0x80000000u;
    quad.bits()[2] = 0xC0000000u;
    quad.bits()[3] = 0xFF000001u;
    quad.buffer().setFormat(Argb32Premultiplied);
    BufferedImage one(1, 1);
    Painter p1(one);
    ASSERT_TRUE(p1.drawImage(quad, {0, 0, 2, 2}, {0, 0, 1, 1}, params(Sampling::AreaAverage, 0, BlendMode::Copy)));
    EXPECT_EQ(at(one, 0, 0), Pixel((0x40 + 0x80 + 0xC0 + 0xFF) / 4) << 24);
}

TEST(Painter, OpacityOneIsExactAndZeroDrawsNothing) {
    Image32 src(1, 1);
    src.bits()[0] = 0x80402010u;
    src.buffer().setFormat(Argb32Premultiplied);
    BufferedImage target(1, 1);
    target.bits()[0] = 0xFF336699u;
    Painter painter(target);
    ASSERT_TRUE(painter.drawImageAt(src, {0, 0}, {0, 0, 1, 1}, params(Sampling::Direct, 0, BlendMode::SourceOver, 0.0)));
    EXPECT_EQ(at(target, 0, 0), 0xFF336699u);
    ASSERT_TRUE(painter.drawImageAt(src, {0, 0}, {0, 0, 1, 1}, params(Sampling::Direct, 0, BlendMode::SourceOver, 1.0)));
    EXPECT_EQ(at(target, 0, 0), Blend::sourceOver(0xFF336699u, 0x80402010u));
    target.bits()[0] = 0xFF336699u;
    ASSERT_TRUE(painter.drawImageAt(src, {0, 0}, {0, 0, 1, 1}, params(Sampling::Direct, 0, BlendMode::SourceOver, 0.999)));
    EXPECT_EQ(at(target, 0, 0), Blend::sourceOver(0xFF336699u, Blend::applyOpacity(0x80402010u, 254)));
}

TEST(Painter, RotationQuantisation) {
    EXPECT_EQ(angleIndex(0.0), 0);
    EXPECT_EQ(angleIndex(360.0), 0);
    EXPECT_EQ(angleIndex(90.0), 128);
    EXPECT_EQ(angleIndex(-90.0), 384);
    EXPECT_EQ(angleIndex(0.3515625), 1);     // exactly half a step rounds away from zero
    EXPECT_EQ(angleIndex(-0.3515625), 511);
    EXPECT_EQ(angleIndex(720.0 + 45.0), 64);
    EXPECT_EQ(cosineTable()[0], 65536);
    EXPECT_EQ(cosineTable()[128], 0);
    EXPECT_EQ(cosineTable()[256], -65536);
    EXPECT_EQ(cosineTable()[64], 46340);  // trunc(cos(pi/4) * 65536)
}

TEST(Painter, RotateBy360EqualsRotateBy0) {
    const auto owned = gradient(5, 4);
    const Image32& src = *owned;
    BufferedImage a(12, 12), b(12, 12), c(12, 12);
    Painter pa(a), pb(b), pc(c);
    for (auto s : {Sampling::Nearest, Sampling::Bilinear}) {
        ASSERT_TRUE(pa.drawRotated(src, {0, 0, 5, 4}, {6, 6}, {2, 2}, 0.0, 1.0, params(s)));
        ASSERT_TRUE(pb.drawRotated(src, {0, 0, 5, 4}, {6, 6}, {2, 2}, 360.0, 1.0, params(s)));
        ASSERT_TRUE(pc.drawRotated(src, {0, 0, 5, 4}, {6, 6}, {2, 2}, -720.0, 0.0, params(s)));
        EXPECT_EQ(std::vector<Pixel>(a.bits(), a.bits() + 144), std::vector<Pixel>(b.bits(), b.bits() + 144));
        EXPECT_EQ(std::vector<Pixel>(a.bits(), a.bits() + 144), std::vector<Pixel>(c.bits(), c.bits() + 144));
    }
    // Angle 0 is a plain copy placing the rotation centre on the destination centre.
    EXPECT_EQ(at(a, 4, 4), makePixel(255, 0, 0, 0));
    EXPECT_EQ(at(a, 8, 7), makePixel(255, 4, 3, 0));
    EXPECT_EQ(at(a, 9, 7), 0u);
    EXPECT_EQ(at(a, 3, 4), 0u);
}

TEST(Painter, RotateBy90) {
    const auto owned = gradient(3, 2);
    const Image32& src = *owned;
    BufferedImage target(8, 8);
    Painter painter(target);
    ASSERT_TRUE(painter.drawRotated(src, {0, 0, 3, 2}, {4, 4}, {0, 0}, 90.0, 1.0, params(Sampling::Nearest)));
    // Destination offset (dx, dy) reads source (-dy, dx) at 90 degrees (cos 0, sin 1).
    EXPECT_EQ(at(target, 4, 4), makePixel(255, 0, 0, 0));
    EXPECT_EQ(at(target, 4, 2), makePixel(255, 2, 0, 0));
    EXPECT_EQ(at(target, 5, 2), makePixel(255, 2, 1, 0));
    EXPECT_EQ(at(target, 5, 4), makePixel(255, 0, 1, 0));
    EXPECT_EQ(at(target, 4, 5), 0u);
    EXPECT_EQ(at(target, 3, 4), 0u);
    int drawn = 0;
    for (int i = 0; i < 64; ++i) drawn += target.bits()[i] != 0;
    EXPECT_EQ(drawn, 6);
}

TEST(Painter, FillAndFrame) {
    BufferedImage target(5, 4);
    Painter painter(target);
    ASSERT_TRUE(painter.drawFrame({1, 0, 4, 4}));
    const Pixel f = 0xFFAA0000u;
    const Pixel expect[4][5] = {{0, f, f, f, 0}, {0, f, 0, f, 0}, {0, f, 0, f, 0}, {0, f, f, f, 0}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(at(target, x, y), expect[y][x]) << x << "," << y;
    EXPECT_TRUE(painter.fillRect({-3, -3, 2, 1}, 0x01020304u));
    EXPECT_EQ(at(target, 0, 0), 0x01020304u);
    EXPECT_EQ(at(target, 1, 0), 0x01020304u);
    EXPECT_EQ(at(target, 2, 0), f);
}

TEST(Painter, BlendModeReachesThePixels) {
    const auto owned = gradient(2, 1);
    const Image32& src = *owned;
    BufferedImage target(2, 1);
    target.bits()[0] = 0xFF808080u;
    target.bits()[1] = 0x00000000u;
    Painter painter(target);
    ASSERT_TRUE(painter.drawImageAt(src, {0, 0}, {0, 0, 2, 1}, params(Sampling::Direct, 0, BlendMode::Multiply)));
    EXPECT_EQ(at(target, 0, 0), Blend::blendPixel(4, 0xFF808080u, makePixel(255, 0, 0, 0), 255));
    EXPECT_EQ(at(target, 1, 0), 0u);  // covered only
}

TEST(BilinearRows, Sse2MatchesPortableBitForBit) {
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        const std::size_t width = 1 + random() % 40, n = random() % 37;
        std::vector<Pixel> row0(width), row1(width);
        for (auto& p : row0) p = random();
        for (auto& p : row1) p = random();
        std::vector<std::int32_t> index(n), next(n);
        std::vector<std::uint32_t> frac(n);
        for (std::size_t c = 0; c < n; ++c) {
            index[c] = std::int32_t(random() % width);
            next[c] = std::int32_t(random() % width);
            frac[c] = random() % 256;
        }
        const std::uint32_t fy = random() % 256;
        std::vector<Pixel> a(n), b(n), w(n);
        bilinearRowPortable(row0.data(), row1.data(), index.data(), next.data(), frac.data(), fy, a.data(), n);
        bilinearRowSse2(row0.data(), row1.data(), index.data(), next.data(), frac.data(), fy, b.data(), n);
        bilinearRowAvx2(row0.data(), row1.data(), index.data(), next.data(), frac.data(), fy, w.data(), n);
        ASSERT_EQ(a, b) << round;
        ASSERT_EQ(a, w) << round;
        for (std::size_t c = 0; c < n; ++c) {
            // Per channel: (p0 * (256 - f) + p1 * f) >> 8 across, then down.
            for (int shift = 0; shift < 32; shift += 8) {
                auto ch = [shift](Pixel p) { return (p >> shift) & 0xFF; };
                const auto i0 = std::size_t(index[c]), i1 = std::size_t(next[c]);
                const std::uint32_t top = (ch(row0[i0]) * (256 - frac[c]) + ch(row0[i1]) * frac[c]) >> 8;
                const std::uint32_t bottom = (ch(row1[i0]) * (256 - frac[c]) + ch(row1[i1]) * frac[c]) >> 8;
                ASSERT_EQ(ch(a[c]), (top * (256 - fy) + bottom * fy) >> 8);
            }
        }
    }
}

TEST(BilinearRows, Avx2MatchesPortableAtExtremeWeights) {
    // Fractions and row weights at 0, 1, 128, 254 and 255 over saturated and empty
    // channels: the largest sums the 16-bit lanes must hold.
    const std::uint32_t weights[] = {0, 1, 128, 254, 255};
    std::mt19937 random(5);
    for (std::uint32_t fy : weights) {
        for (int round = 0; round < 40; ++round) {
            const std::size_t width = 2 + random() % 30, n = 4 + random() % 45;
            std::vector<Pixel> row0(width), row1(width);
            for (auto& p : row0) p = random() % 3 == 0 ? 0xFFFFFFFFu : random() % 2 ? 0u : Pixel(random());
            for (auto& p : row1) p = random() % 3 == 0 ? 0xFFFFFFFFu : random() % 2 ? 0u : Pixel(random());
            std::vector<std::int32_t> index(n), next(n);
            std::vector<std::uint32_t> frac(n);
            for (std::size_t c = 0; c < n; ++c) {
                index[c] = std::int32_t(random() % width);
                next[c] = std::min<std::int32_t>(index[c] + 1, std::int32_t(width) - 1);
                frac[c] = weights[random() % 5];
            }
            std::vector<Pixel> a(n), w(n);
            bilinearRowPortable(row0.data(), row1.data(), index.data(), next.data(), frac.data(), fy, a.data(), n);
            bilinearRowAvx2(row0.data(), row1.data(), index.data(), next.data(), frac.data(), fy, w.data(), n);
            ASSERT_EQ(a, w) << fy << " " << round;
        }
    }
}
