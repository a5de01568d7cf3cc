#include "framework/Graphics/BilinearRow.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ARBOR_BILINEAR_SSE2 1
#endif

namespace Arbor::Graphics {

void bilinearRowPortable(const Pixel* row0, const Pixel* row1, const std::int32_t* index,
                         const std::int32_t* next, const std::uint32_t* frac, std::uint32_t fy,
                         Pixel* out, std::size_t n) {
    for (std::size_t c = 0; c < n; ++c) {
        const auto x0 = std::size_t(index[c]), x1 = std::size_t(next[c]);
        out[c] = bilinearPixel(row0[x0], row0[x1], row1[x0], row1[x1], frac[c], fy);
    }
}

#if ARBOR_BILINEAR_SSE2

namespace {

// (p0 * (256 - f) + p1 * f) >> 8 for the two pixels of `pair` (16-bit lanes: p0 in the
// low half, p1 in the high half), weighted by `w` ([256 - f] x 4, [f] x 4); the result is
// in the low four lanes. The sum stays below 2^16.
inline __m128i mixHalves(__m128i pair, __m128i w) {
    const __m128i product = _mm_mullo_epi16(pair, w);
    return _mm_srli_epi16(_mm_add_epi16(product, _mm_srli_si128(product, 8)), 8);
}

inline __m128i weights(std::uint32_t f) {
    const std::uint64_t lanes = 0x0001000100010001ull;
    return _mm_set_epi64x(std::int64_t(f * lanes), std::int64_t((256 - f) * lanes));
}

}  // namespace

void bilinearRowSse2(const Pixel* row0, const Pixel* row1, const std::int32_t* index,
                     const std::int32_t* next, const std::uint32_t* frac, std::uint32_t fy,
                     Pixel* out, std::size_t n) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i wy0 = _mm_set1_epi16(std::int16_t(256 - fy));
    const __m128i wy1 = _mm_set1_epi16(std::int16_t(fy));
    std::size_t c = 0;
    for (; c + 2 <= n; c += 2) {
        const auto a0 = std::size_t(index[c]), a1 = std::size_t(next[c]);
        const auto b0 = std::size_t(index[c + 1]), b1 = std::size_t(next[c + 1]);
        const __m128i top = _mm_set_epi32(std::int32_t(row0[b1]), std::int32_t(row0[b0]),
                                          std::int32_t(row0[a1]), std::int32_t(row0[a0]));
        const __m128i bottom = _mm_set_epi32(std::int32_t(row1[b1]), std::int32_t(row1[b0]),
                                             std::int32_t(row1[a1]), std::int32_t(row1[a0]));
        const __m128i wa = weights(frac[c]);
        const __m128i wb = weights(frac[c + 1]);
        const __m128i topMix = _mm_unpacklo_epi64(mixHalves(_mm_unpacklo_epi8(top, zero), wa),
                                                  mixHalves(_mm_unpackhi_epi8(top, zero), wb));
        const __m128i bottomMix = _mm_unpacklo_epi64(mixHalves(_mm_unpacklo_epi8(bottom, zero), wa),
                                                     mixHalves(_mm_unpackhi_epi8(bottom, zero), wb));
        const __m128i mixed =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(topMix, wy0), _mm_mullo_epi16(bottomMix, wy1)), 8);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + c), _mm_packus_epi16(mixed, mixed));
    }
    if (c < n) bilinearRowPortable(row0, row1, index + c, next + c, frac + c, fy, out + c, n - c);
}

#else

void bilinearRowSse2(const Pixel* row0, const Pixel* row1, const std::int32_t* index,
                     const std::int32_t* next, const std::uint32_t* frac, std::uint32_t fy,
                     Pixel* out, std::size_t n) {
    bilinearRowPortable(row0, row1, index, next, frac, fy, out, n);
}

#endif

}  // namespace Arbor::Graphics
