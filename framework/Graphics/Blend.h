#pragma once
// Pixel combination: the opacity step, source-over and the separable blend modes, on
// premultiplied pixel words. Everything is 32-bit integer arithmetic.
#include <cstddef>
#include <cstdint>

#include "framework/Graphics/DrawParams.h"
#include "framework/Graphics/Pixel.h"

namespace Arbor::Graphics::Blend {

// Premultiplied source scaled by integer opacity o (0-255).
Pixel applyOpacity(Pixel s, int o);

// s over d, both premultiplied.
Pixel sourceOver(Pixel d, Pixel s);

// The per-channel function of a separable mode (3-28, DarkerColor and LighterColor
// excluded): a = destination channel, b = source channel.
std::int32_t channelFunction(std::int32_t mode, std::int32_t a, std::int32_t b);

// True for the modes that give 0 wherever the destination is fully transparent.
bool isCoveredOnly(std::int32_t mode);

// One pixel of any mode (0-28; others copy) with integer opacity o.
Pixel blendPixel(std::int32_t mode, Pixel d, Pixel s, int o);

// dst[i] = blend(dst[i], src[i]) for n pixels.
void blendRow(std::int32_t mode, int o, Pixel* dst, const Pixel* src, std::size_t n);

// Unscaled source-over rows at full opacity: the portable code and the SSE2 code (x86-64
// only; elsewhere it is the portable code). Both give identical words for any input.
void sourceOverRowPortable(Pixel* dst, const Pixel* src, std::size_t n);
void sourceOverRowSse2(Pixel* dst, const Pixel* src, std::size_t n);
bool hasSse2();
// The same rows eight pixels at a time with AVX2 when hasAvx2() (checked at run time);
// otherwise, off x86-64, and on Windows builds whose assembler cannot make every aligned
// vector move unaligned (see Blend.cpp), this is the SSE2 code. Safe to call anywhere.
void sourceOverRowAvx2(Pixel* dst, const Pixel* src, std::size_t n);
bool hasAvx2();

}  // namespace Arbor::Graphics::Blend
