#pragma once
// PNG files from 8-bit RGBA pixels (straight alpha, row by row): a still picture, or an
// animated one (the APNG chunks acTL, fcTL and fdAT) whose frames all cover the whole
// canvas. Debian's libpng writes no animation chunks, so the chunks are put together
// here over zlib; the output depends only on the pixels (fixed filter and compression
// level), so equal pictures give equal files.
#include <cstdint>
#include <span>
#include <vector>

namespace Arbor::Graphics {

struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::span<const std::uint8_t> rgba;  // width * height * 4 bytes
};

// Empty when the size is not positive or the pixels do not match it.
std::vector<std::uint8_t> encodePng(const RgbaPicture& picture);

// Every frame shows for delayNumerator / delayDenominator seconds; the animation
// loops forever. Empty when there is no frame or a frame's size differs from the first.
std::vector<std::uint8_t> encodeAnimatedPng(std::span<const RgbaPicture> frames, std::uint16_t delayNumerator,
                                            std::uint16_t delayDenominator);

}  // namespace Arbor::Graphics
