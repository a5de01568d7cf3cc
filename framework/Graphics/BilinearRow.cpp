#include "framework/Graphics/BilinearRow.h"

#include "framework/Graphics/Blend.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ARBOR_BILINEAR_SSE2 1
// As for the blend rows: AVX2 functions picked at run time, on Windows only where the
// assembler makes aligned vector moves unaligned (stack alignment, see Blend.cpp).
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__) && \
    (!defined(_WIN32) || defined(TAVIZO_UNALIGNED_VECTOR_MOVES))
#include <immintrin.h>
#define ARBOR_BILINEAR_AVX2 1
#endif
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

#if ARBOR_BILINEAR_AVX2

namespace {

// Four pixels per step, their sixteen channels in the 16-bit lanes of one register. The
// eight neighbours of each row (index, then next) are read one by one: a gather
// instruction measured about twice as slow as the whole step on the machines tried.
__attribute__((target("avx2"))) void bilinearRowsOf4(const Pixel* row0, const Pixel* row1,
                                                     const std::int32_t* index, const std::int32_t* next,
                                                     const std::uint32_t* frac, std::uint32_t fy, Pixel* out,
                                                     std::size_t n) {
    const __m256i c256 = _mm256_set1_epi16(256);
    const __m256i wy0 = _mm256_set1_epi16(std::int16_t(256 - fy));
    const __m256i wy1 = _mm256_set1_epi16(std::int16_t(fy));
    // The low byte of each 32-bit fraction (they are below 256) into four bytes.
    const __m128i spread = _mm_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12);
    const auto* top = reinterpret_cast<const int*>(row0);
    const auto* bottom = reinterpret_cast<const int*>(row1);
    std::size_t c = 0;
    for (; c + 4 <= n; c += 4) {
        const auto i0 = std::size_t(index[c]), i1 = std::size_t(index[c + 1]);
        const auto i2 = std::size_t(index[c + 2]), i3 = std::size_t(index[c + 3]);
        const auto n0 = std::size_t(next[c]), n1 = std::size_t(next[c + 1]);
        const auto n2 = std::size_t(next[c + 2]), n3 = std::size_t(next[c + 3]);
        const __m256i t = _mm256_setr_epi32(top[i0], top[i1], top[i2], top[i3], top[n0], top[n1], top[n2], top[n3]);
        const __m256i b = _mm256_setr_epi32(bottom[i0], bottom[i1], bottom[i2], bottom[i3], bottom[n0], bottom[n1],
                                            bottom[n2], bottom[n3]);
        const __m256i fx = _mm256_cvtepu8_epi16(
            _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(frac + c)), spread));
        const __m256i gx = _mm256_sub_epi16(c256, fx);
        const __m256i t0 = _mm256_cvtepu8_epi16(_mm256_castsi256_si128(t));
        const __m256i t1 = _mm256_cvtepu8_epi16(_mm256_extracti128_si256(t, 1));
        const __m256i b0 = _mm256_cvtepu8_epi16(_mm256_castsi256_si128(b));
        const __m256i b1 = _mm256_cvtepu8_epi16(_mm256_extracti128_si256(b, 1));
        // p0 * (256 - f) + p1 * f stays below 2^16.
        const __m256i topMix =
            _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(t0, gx), _mm256_mullo_epi16(t1, fx)), 8);
        const __m256i bottomMix =
            _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(b0, gx), _mm256_mullo_epi16(b1, fx)), 8);
        const __m256i mixed = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(topMix, wy0), _mm256_mullo_epi16(bottomMix, wy1)), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + c),
                         _mm_packus_epi16(_mm256_castsi256_si128(mixed), _mm256_extracti128_si256(mixed, 1)));
    }
    if (c < n) bilinearRowSse2(row0, row1, index + c, next + c, frac + c, fy, out + c, n - c);
}

}  // namespace

void bilinearRowAvx2(const Pixel* row0, const Pixel* row1, const std::int32_t* index,
                     const std::int32_t* next, const std::uint32_t* frac, std::uint32_t fy,
                     Pixel* out, std::size_t n) {
    if (Blend::hasAvx2()) {
        bilinearRowsOf4(row0, row1, index, next, frac, fy, out, n);
    } else {
        bilinearRowSse2(row0, row1, index, next, frac, fy, out, n);
    }
}

#else

void bilinearRowAvx2(const Pixel* row0, const Pixel* row1, const std::int32_t* index,
                     const std::int32_t* next, const std::uint32_t* frac, std::uint32_t fy,
                     Pixel* out, std::size_t n) {
    bilinearRowSse2(row0, row1, index, next, frac, fy, out, n);
}

#endif

}  // namespace Arbor::Graphics
