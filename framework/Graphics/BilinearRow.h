#pragma once
// One destination row of bilinear samples: for column c the neighbours are
// row0/row1[index[c]] and row0/row1[next[c]], mixed by frac[c] across and fy down, each
// step (p0 * (256 - f) + p1 * f) >> 8 per channel.
#include <cstddef>
#include <cstdint>

#include "framework/Graphics/Pixel.h"

namespace Arbor::Graphics {

void bilinearRowPortable(const Pixel* row0, const Pixel* row1, const std::int32_t* index,
                         const std::int32_t* next, const std::uint32_t* frac, std::uint32_t fy,
                         Pixel* out, std::size_t n);
// Two pixels at a time with SSE2 where the processor has it; the same words as the
// portable code.
void bilinearRowSse2(const Pixel* row0, const Pixel* row1, const std::int32_t* index,
                     const std::int32_t* next, const std::uint32_t* frac, std::uint32_t fy,
                     Pixel* out, std::size_t n);
// Four pixels at a time with AVX2 when the processor has it, else the SSE2 code; the same
// words again.
void bilinearRowAvx2(const Pixel* row0, const Pixel* row1, const std::int32_t* index,
                     const std::int32_t* next, const std::uint32_t* frac, std::uint32_t fy,
                     Pixel* out, std::size_t n);

inline Pixel lerpPixel(Pixel p0, Pixel p1, std::uint32_t f) {
    const std::uint32_t g = 256 - f;
    const std::uint32_t rb = (((p0 & 0x00FF00FFu) * g + (p1 & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
    const std::uint32_t ag =
        ((((p0 >> 8) & 0x00FF00FFu) * g + ((p1 >> 8) & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
    return rb | ag << 8;
}

inline Pixel bilinearPixel(Pixel p00, Pixel p10, Pixel p01, Pixel p11, std::uint32_t fx,
                           std::uint32_t fy) {
    return lerpPixel(lerpPixel(p00, p10, fx), lerpPixel(p01, p11, fx), fy);
}

}  // namespace Arbor::Graphics
