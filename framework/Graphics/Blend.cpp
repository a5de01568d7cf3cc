#include "framework/Graphics/Blend.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ARBOR_GRAPHICS_SSE2 1
// The AVX2 rows are compiled for that target function by function and picked at run time.
// Not on Windows: its ABI does not align the stack to 32 bytes, and spilled 256-bit values
// could then be stored with aligned moves to unaligned slots.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__) && !defined(_WIN32)
#include <immintrin.h>
#define ARBOR_GRAPHICS_AVX2 1
#endif
#endif

namespace Arbor::Graphics {

int opacityToInt(double opacity) {
    if (!(opacity > 0.0)) return 0;  // also NaN
    if (opacity >= 1.0) return 255;
    return int(opacity * 255.0);
}

namespace Blend {

namespace {

// Signed 32-bit arithmetic that wraps modulo 2^32 instead of overflowing.
inline std::int32_t wrap(std::uint32_t v) { return static_cast<std::int32_t>(v); }
inline std::int32_t mul(std::int32_t a, std::int32_t b) {
    return wrap(std::uint32_t(a) * std::uint32_t(b));
}
inline std::int32_t add(std::int32_t a, std::int32_t b) {
    return wrap(std::uint32_t(a) + std::uint32_t(b));
}
inline std::int32_t sub(std::int32_t a, std::int32_t b) {
    return wrap(std::uint32_t(a) - std::uint32_t(b));
}
// C++20 defines >> of a negative value as an arithmetic shift.
inline std::int32_t sar(std::int32_t v, int n) { return v >> n; }

// Square roots of 0-255 by Newton's iteration started at max(a, 1) and stopped when it no
// longer decreases. sqrt(0) is taken as its limit, 0 (the iteration would only halve).
const std::array<double, 256>& newtonRoots() {
    static const std::array<double, 256> roots = [] {
        std::array<double, 256> t{};
        t[0] = 0.0;
        for (int a = 1; a < 256; ++a) {
            double x = a;
            for (;;) {
                const double next = (x + a / x) / 2.0;
                if (!(next < x)) break;
                x = next;
            }
            t[std::size_t(a)] = x;
        }
        return t;
    }();
    return roots;
}

std::int32_t vividLight(std::int32_t a, std::int32_t b) {
    if (b >= 128) {
        if (2 * b == 510) return 255;
        return std::min(255, a * 255 / (510 - 2 * b));
    }
    if (b == 0) return 0;
    return std::max(0, (a - 255) * 255 / (2 * b) + 255);
}

std::int32_t overlayFormula(std::int32_t a, std::int32_t b, bool upper) {
    if (upper) {
        return sar(sub(mul(add(mul(255 - b, a), mul(b, 255)), 65794), 2139127425), 23);
    }
    return sar(mul(mul(a, b), 65794), 23);
}

inline std::uint32_t colourSum(Pixel p) { return redOf(p) + greenOf(p) + blueOf(p); }

// Separable rule with the source pixel (after DarkerColor/LighterColor's choice) and a
// per-channel function.
template <typename F>
inline Pixel separable(Pixel d, Pixel s, int o, bool coveredOnly, F f) {
    const std::int32_t da = std::int32_t(alphaOf(d));
    if (coveredOnly && da == 0) return 0;
    const std::int32_t sa = std::int32_t(alphaOf(s));
    const std::int32_t e = o >= 255 ? sa : (sa * (o + 1)) >> 8;
    if (e == 0) return d;
    Pixel result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::int32_t dc = std::int32_t((d >> shift) & 0xFF);
        const std::int32_t sc = std::int32_t((s >> shift) & 0xFF);
        const std::int32_t fc = f(dc, sc);
        const std::int32_t r = sar(sub(mul(dc, 8388735), mul(mul(e, sub(dc, fc)), 32897)), 23);
        result |= Pixel(std::uint32_t(r) & 0xFF) << shift;
    }
    const std::int32_t ra = da == 255 ? 255 : da + e - (e * da) / 255;
    return result | Pixel(std::uint32_t(ra) & 0xFF) << 24;
}

}  // namespace

Pixel applyOpacity(Pixel s, int o) {
    if (o >= 255) return s;
    if (o <= 0) return 0;
    const std::uint32_t k = (alphaOf(s) * std::uint32_t(o + 1)) >> 8;
    if (k == 0) return 0;
    return k << 24 | ((redOf(s) * k) >> 8) << 16 | ((greenOf(s) * k) >> 8) << 8 |
           ((blueOf(s) * k) >> 8);
}

Pixel sourceOver(Pixel d, Pixel s) {
    const std::uint32_t sa = alphaOf(s);
    const std::uint32_t da = alphaOf(d);
    if (sa == 255 || da == 0) return s;
    if (sa == 0) return d;
    const std::uint32_t inv = 256 - sa;
    const std::uint32_t rb =
        ((s & 0x00FF00FFu) + ((((d & 0x00FF00FFu) * inv) >> 8) & 0x00FF00FFu)) & 0x00FF00FFu;
    const std::uint32_t g =
        ((s & 0x0000FF00u) + ((((d & 0x0000FF00u) * inv) >> 8) & 0x0000FF00u)) & 0x0000FF00u;
    const std::uint32_t a = da == 255 ? 255 : sa + da - ((sa * da * 32897u) >> 23);
    return a << 24 | rb | g;
}

std::int32_t channelFunction(std::int32_t mode, std::int32_t a, std::int32_t b) {
    switch (mode) {
        case 3: return b;
        case 4: return sar(mul(mul(a, b), 32897), 23);
        case 5: return b == 0 ? 0 : std::max(0, (a - 255) * 255 / b + 255);
        case 6: {
            const std::int32_t s = a + b;
            return s > 254 ? s - 255 : 0;
        }
        case 7: return std::min(a, b);
        case 9: return std::max(a, b);
        case 11: return b == 255 ? 255 : std::min(255, a * 255 / (255 - b));
        case 12:
        case 13: return std::min(255, a + b);
        case 14: return sar(sub(mul(b, 8388735), mul(mul(a, b - 255), 32897)), 23);
        case 15: return overlayFormula(a, b, a >= 128);
        case 16:
            if (b < 128) {
                return sar(add(mul(mul(a, b), 65794), mul((255 - 2 * b) * a * a / 255, 32897)), 23);
            } else {
                const auto root = newtonRoots()[std::size_t(a & 0xFF)];
                const auto term = std::int32_t(std::trunc(double(32 * b - 4080) * root));
                return sar(mul(add(mul(mul(255 - b, a), 2), term), 32897), 23);
            }
        case 17: return overlayFormula(a, b, b >= 128);
        case 18: return vividLight(a, b);
        // Hard mix thresholds the vivid-light value at 128 into 0 or 255.
        case 21: return sub(0, vividLight(a, b) >> 7) & 0xFF;
        case 19: return std::clamp(a + 2 * b - 255, 0, 255);
        case 20: return b >= 128 ? std::max(a, 2 * b - 255) : std::min(a, 2 * b);
        case 22: return std::abs(a - b);
        case 23:
            return sar(mul(sub(sub(mul(add(mul(b, 128), mul(128 - b, a)), 2), a), b), 32897), 23);
        case 24: return b < a ? a - b : 0;
        case 25: return b <= 0 ? 255 : std::min(255, a * 255 / b);
        case 26: return a & b;
        case 27: return a | b;
        case 28: return a ^ b;
        default: return b;
    }
}

bool isCoveredOnly(std::int32_t mode) {
    switch (mode) {
        case 4: case 5: case 6: case 7: case 11: case 15: case 16: case 21: case 24: case 25:
        case 26:
            return true;
        default:
            return false;
    }
}

Pixel blendPixel(std::int32_t mode, Pixel d, Pixel s, int o) {
    if (mode == 2) return sourceOver(d, applyOpacity(s, o));
    if (mode < 3 || mode > 28) return applyOpacity(s, o);
    if (mode == 8 || mode == 10) {
        const std::uint32_t sumD = colourSum(d), sumS = colourSum(s);
        const bool takeDestination = mode == 8 ? sumD < sumS : sumS < sumD;
        const Pixel chosen = takeDestination ? d : s;
        return separable(d, chosen, o, false, [](std::int32_t, std::int32_t b) { return b; });
    }
    const Pixel r = separable(d, s, o, isCoveredOnly(mode), [mode](std::int32_t a, std::int32_t b) {
        return channelFunction(mode, a, b);
    });
    if (mode == 18 && alphaOf(d) == 0 && (r & 0x00FFFFFFu) == 0) return 0;
    return r;
}

namespace {

template <std::int32_t Mode>
void separableRow(int o, Pixel* dst, const Pixel* src, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) dst[i] = blendPixel(Mode, dst[i], src[i], o);
}

using RowFunction = void (*)(int, Pixel*, const Pixel*, std::size_t);

template <std::size_t... I>
constexpr std::array<RowFunction, sizeof...(I)> makeRowTable(std::index_sequence<I...>) {
    return {&separableRow<std::int32_t(I)>...};
}

constexpr auto rowTable = makeRowTable(std::make_index_sequence<29>{});

}  // namespace

void blendRow(std::int32_t mode, int o, Pixel* dst, const Pixel* src, std::size_t n) {
    if (mode == 2) {
        if (o >= 255) {
            // Chosen once: the widest row code this processor runs.
            static const auto row = hasAvx2() ? &sourceOverRowAvx2 : hasSse2() ? &sourceOverRowSse2
                                                                               : &sourceOverRowPortable;
            row(dst, src, n);
            return;
        }
        for (std::size_t i = 0; i < n; ++i) dst[i] = sourceOver(dst[i], applyOpacity(src[i], o));
        return;
    }
    if (mode < 3 || mode > 28) {
        if (o >= 255) {
            // A plain copy: characters are composed and drawn into their windows this way.
            std::memmove(dst, src, n * sizeof(Pixel));
            return;
        }
        for (std::size_t i = 0; i < n; ++i) dst[i] = applyOpacity(src[i], o);
        return;
    }
    rowTable[std::size_t(mode)](o, dst, src, n);
}

void sourceOverRowPortable(Pixel* dst, const Pixel* src, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const Pixel s = src[i];
        const std::uint32_t sa = s >> 24;
        if (sa == 255) {
            dst[i] = s;
        } else if (sa != 0 || (dst[i] >> 24) == 0) {
            dst[i] = sourceOver(dst[i], s);
        }
    }
}

bool hasSse2() {
#if ARBOR_GRAPHICS_SSE2
    return true;
#else
    return false;
#endif
}

#if ARBOR_GRAPHICS_SSE2

namespace {

// Four pixels at once, with red+blue and green+alpha as pairs of 16-bit lanes so that no
// unpacking is needed. The general formula is exact for alpha(s) = 255 whatever d holds;
// alpha(s) = 0 (keep d) and alpha(d) = 0 (take s) are chosen by masks, as they differ from
// the formula whenever such a word carries colour.
inline __m128i sourceOver4(__m128i d, __m128i s, __m128i sAlpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaMask = _mm_set1_epi32(std::int32_t(0xFF000000u));
    const __m128i greenMask = _mm_set1_epi32(0x0000FF00);
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const __m128i c256 = _mm_set1_epi16(256);
    const __m128i k32897 = _mm_set1_epi16(std::int16_t(std::uint16_t(32897)));

    const __m128i sGA = _mm_srli_epi16(s, 8);  // per pixel: [green, alpha] of s
    const __m128i dGA = _mm_srli_epi16(d, 8);
    const __m128i sA2 = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sGA, 0xF5), 0xF5);  // [alpha, alpha]
    const __m128i inv = _mm_sub_epi16(c256, sA2);
    // (s_c + (((256 - alpha(s)) * d_c) >> 8)) mod 256 is the upper byte of the 16-bit sum
    // (256 - alpha(s)) * d_c + (s_c << 8): adding a multiple of 256 does not change the
    // truncated quotient, and wrapping at 2^16 is the modulo. Blue and red ...
    const __m128i rb = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(d, lowBytes), inv), _mm_slli_epi16(s, 8)), 8);
    // ... and green, whose upper byte already sits at bits 8-15.
    const __m128i g = _mm_and_si128(_mm_add_epi16(_mm_mullo_epi16(dGA, inv), _mm_and_si128(s, greenMask)),
                                    greenMask);
    // alpha(s) + alpha(d) - ((alpha(s) * alpha(d) * 32897) >> 23), in the upper lane
    const __m128i t = _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(sA2, dGA), k32897), 7);
    const __m128i a = _mm_slli_epi16(_mm_sub_epi16(_mm_add_epi16(sGA, dGA), t), 8);
    __m128i r = _mm_or_si128(_mm_or_si128(rb, g), _mm_and_si128(a, alphaMask));

    const __m128i saIs0 = _mm_cmpeq_epi32(sAlpha, zero);
    const __m128i daIs0 = _mm_cmpeq_epi32(_mm_and_si128(d, alphaMask), zero);
    if (_mm_movemask_epi8(_mm_or_si128(saIs0, daIs0)) != 0) {
        r = _mm_or_si128(_mm_and_si128(saIs0, d), _mm_andnot_si128(saIs0, r));
        r = _mm_or_si128(_mm_and_si128(daIs0, s), _mm_andnot_si128(daIs0, r));
    }
    return r;
}

}  // namespace

void sourceOverRowSse2(Pixel* dst, const Pixel* src, std::size_t n) {
    const __m128i alphaMask = _mm_set1_epi32(std::int32_t(0xFF000000u));
    const __m128i zero = _mm_setzero_si128();
    std::size_t i = 0;
    // Eight pixels per step: one test covers both halves on the fast paths.
    for (; i + 8 <= n; i += 8) {
        const __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4));
        const __m128i a0 = _mm_and_si128(s0, alphaMask);
        const __m128i a1 = _mm_and_si128(s1, alphaMask);
        __m128i* t0 = reinterpret_cast<__m128i*>(dst + i);
        __m128i* t1 = reinterpret_cast<__m128i*>(dst + i + 4);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(a0, a1), alphaMask)) == 0xFFFF) {
            _mm_storeu_si128(t0, s0);
            _mm_storeu_si128(t1, s1);
            continue;
        }
        const __m128i d0 = _mm_loadu_si128(t0);
        const __m128i d1 = _mm_loadu_si128(t1);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_or_si128(a0, a1), zero)) == 0xFFFF &&
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi32(_mm_and_si128(d0, alphaMask), zero),
                                           _mm_cmpeq_epi32(_mm_and_si128(d1, alphaMask), zero))) == 0) {
            continue;
        }
        _mm_storeu_si128(t0, sourceOver4(d0, s0, a0));
        _mm_storeu_si128(t1, sourceOver4(d1, s1, a1));
    }
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i sAlpha = _mm_and_si128(s, alphaMask);
        // Runs of opaque or fully transparent source pixels, common in sprites, skip the
        // arithmetic (and, for transparent ones, the destination read).
        const int opaque = _mm_movemask_epi8(_mm_cmpeq_epi32(sAlpha, alphaMask));
        if (opaque == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
            continue;
        }
        __m128i* target = reinterpret_cast<__m128i*>(dst + i);
        const __m128i d = _mm_loadu_si128(target);
        const int clear = _mm_movemask_epi8(_mm_cmpeq_epi32(sAlpha, zero));
        if (clear == 0xFFFF &&
            _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(d, alphaMask), zero)) == 0) {
            continue;  // every alpha(s) = 0 over covered pixels: d stays
        }
        _mm_storeu_si128(target, sourceOver4(d, s, sAlpha));
    }
    if (i < n) sourceOverRowPortable(dst + i, src + i, n - i);
}

#else

void sourceOverRowSse2(Pixel* dst, const Pixel* src, std::size_t n) {
    sourceOverRowPortable(dst, src, n);
}

#endif

bool hasAvx2() {
#if ARBOR_GRAPHICS_AVX2
    // The library's check covers the operating system saving the 256-bit registers too.
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
#else
    return false;
#endif
}

#if ARBOR_GRAPHICS_AVX2

namespace {

// sourceOver4 on eight pixels: the same integer steps in 256-bit registers, the alpha
// pair taken by one byte shuffle, and the alpha(s) = 0 / alpha(d) = 0 choices made by
// blends rather than a branch (sprite edges mix them unpredictably).
__attribute__((target("avx2"))) inline __m256i sourceOver8(__m256i d, __m256i s, __m256i sAlpha) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaMask = _mm256_set1_epi32(std::int32_t(0xFF000000u));
    const __m256i greenMask = _mm256_set1_epi32(0x0000FF00);
    const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
    const __m256i c256 = _mm256_set1_epi16(256);
    const __m256i k32897 = _mm256_set1_epi16(std::int16_t(std::uint16_t(32897)));
    // Byte 3 of each pixel into both of its 16-bit lanes, the upper bytes cleared.
    const __m256i alphaPair = _mm256_setr_epi8(3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1,
                                               3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1);

    const __m256i sGA = _mm256_srli_epi16(s, 8);
    const __m256i dGA = _mm256_srli_epi16(d, 8);
    const __m256i sA2 = _mm256_shuffle_epi8(s, alphaPair);
    const __m256i inv = _mm256_sub_epi16(c256, sA2);
    const __m256i rb = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(d, lowBytes), inv), _mm256_slli_epi16(s, 8)), 8);
    const __m256i g = _mm256_and_si256(
        _mm256_add_epi16(_mm256_mullo_epi16(dGA, inv), _mm256_and_si256(s, greenMask)), greenMask);
    const __m256i t = _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_mullo_epi16(sA2, dGA), k32897), 7);
    const __m256i a = _mm256_slli_epi16(_mm256_sub_epi16(_mm256_add_epi16(sGA, dGA), t), 8);
    __m256i r = _mm256_or_si256(_mm256_or_si256(rb, g), _mm256_and_si256(a, alphaMask));

    r = _mm256_blendv_epi8(r, d, _mm256_cmpeq_epi32(sAlpha, zero));
    return _mm256_blendv_epi8(r, s, _mm256_cmpeq_epi32(_mm256_and_si256(d, alphaMask), zero));
}

__attribute__((target("avx2"))) void sourceOverRowsOf8(Pixel* dst, const Pixel* src, std::size_t n) {
    const __m256i alphaMask = _mm256_set1_epi32(std::int32_t(0xFF000000u));
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i sAlpha = _mm256_and_si256(s, alphaMask);
        __m256i* target = reinterpret_cast<__m256i*>(dst + i);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sAlpha, alphaMask)) == -1) {
            _mm256_storeu_si256(target, s);
            continue;
        }
        const __m256i d = _mm256_loadu_si256(target);
        if (_mm256_testz_si256(s, alphaMask) &&
            _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(d, alphaMask), zero)) == 0) {
            continue;  // every alpha(s) = 0 over covered pixels: d stays
        }
        _mm256_storeu_si256(target, sourceOver8(d, s, sAlpha));
    }
    if (i < n) sourceOverRowSse2(dst + i, src + i, n - i);
}

}  // namespace

void sourceOverRowAvx2(Pixel* dst, const Pixel* src, std::size_t n) {
    if (hasAvx2()) {
        sourceOverRowsOf8(dst, src, n);
    } else {
        sourceOverRowSse2(dst, src, n);
    }
}

#else

void sourceOverRowAvx2(Pixel* dst, const Pixel* src, std::size_t n) {
    sourceOverRowSse2(dst, src, n);
}

#endif

}  // namespace Blend
}  // namespace Arbor::Graphics
