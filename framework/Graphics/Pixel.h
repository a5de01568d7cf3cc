#pragma once
// The pixel word: one unsigned 32-bit value, alpha in bits 24-31, red 16-23, green 8-15,
// blue 0-7 (little-endian memory order B, G, R, A, which is what a 32-bit DIB holds).
#include <cstdint>

namespace Arbor::Graphics {

using Pixel = std::uint32_t;

// Format codes kept by images. Only the two 32-bit ones are ever produced here.
enum PixelFormat : std::int32_t {
    Argb32 = 5,               // straight alpha: what decoders produce
    Argb32Premultiplied = 7,  // colour already multiplied by alpha: what drawing needs
};

// Bytes one pixel of the given format code takes when a buffer is sized.
int bytesPerPixel(std::int32_t format);

// True for the codes that count as "already premultiplied" (6 and 7).
bool isPremultipliedFormat(std::int32_t format);

constexpr std::uint32_t alphaOf(Pixel p) { return p >> 24; }
constexpr std::uint32_t redOf(Pixel p) { return (p >> 16) & 0xFF; }
constexpr std::uint32_t greenOf(Pixel p) { return (p >> 8) & 0xFF; }
constexpr std::uint32_t blueOf(Pixel p) { return p & 0xFF; }
constexpr Pixel makePixel(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (a & 0xFF) << 24 | (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}

// Straight to premultiplied for one pixel: opaque stays, alpha 0 becomes 0, otherwise each
// colour channel becomes (c * (a + 1)) >> 8.
constexpr Pixel premultiplyPixel(Pixel p) {
    const std::uint32_t a = alphaOf(p);
    if (a == 255) return p;
    if (a == 0) return 0;
    const std::uint32_t m = a + 1;
    const std::uint32_t rb = (((p & 0x00FF00FFu) * m) >> 8) & 0x00FF00FFu;
    const std::uint32_t g = (((p & 0x0000FF00u) * m) >> 8) & 0x0000FF00u;
    return (a << 24) | rb | g;
}

}  // namespace Arbor::Graphics
