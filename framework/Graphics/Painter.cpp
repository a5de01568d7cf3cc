#include "framework/Graphics/Painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "framework/Graphics/BilinearRow.h"
#include "framework/Graphics/Blend.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/CosineTable.h"

namespace Arbor::Graphics {

namespace {

constexpr Pixel frameColour = 0xFFAA0000u;

// One axis of a scaled draw: for every destination coordinate inside the target (in
// destination order), which source coordinates feed it and with what weights.
struct AxisMap {
    std::int32_t first = 0;  // first destination coordinate with a sample
    std::int32_t count = 0;  // destination coordinates with a sample
    std::vector<std::int32_t> index;  // source coordinate (the nearest or first neighbour)
    std::vector<std::int32_t> next;   // bilinear second neighbour, clamped to the last one
    std::vector<std::uint32_t> frac;  // bilinear 8-bit weight of `next`
    // AreaAverage footprints: spanStart[k] .. spanStart[k + 1] into areaIndex/areaWeight.
    std::vector<std::uint32_t> spanStart;
    std::vector<std::int32_t> areaIndex;
    std::vector<std::uint32_t> areaWeight;
    bool unitStep = false;  // source advances exactly one per destination step
};

// srcLo/srcSize: the source rectangle on this axis; imageSize: the source image's extent;
// dstLo/dstSize: the destination rectangle; targetSize: the target's extent.
void buildAxis(AxisMap& m, std::int32_t sampling, std::int64_t srcLo, std::int64_t srcSize,
               std::int64_t imageSize, std::int64_t dstLo, std::int64_t dstSize,
               std::int64_t targetSize, bool mirrored) {
    const std::int64_t visLo = std::max<std::int64_t>(dstLo, 0);
    const std::int64_t visHi = std::min<std::int64_t>(dstLo + dstSize, targetSize);
    const std::int64_t validLo = std::max<std::int64_t>(srcLo, 0);
    const std::int64_t validHi = std::min<std::int64_t>(srcLo + srcSize, imageSize);
    m.count = 0;
    if (visLo >= visHi || validLo >= validHi) return;
    const std::int64_t step = (srcSize << 16) / dstSize;
    m.unitStep = sampling == 0 || (sampling == 1 && step == 65536);

    bool started = false;
    for (std::int64_t x = visLo; x < visHi; ++x) {
        // The source is walked forward; a mirrored axis writes it from the far end.
        const std::int64_t i = mirrored ? dstLo + dstSize - 1 - x : x - dstLo;
        std::int64_t base, frac = 0;
        if (sampling == 0) {
            base = i;
        } else {
            const std::int64_t acc = i * step;
            base = acc >> 16;
            frac = (acc >> 8) & 0xFF;
        }
        const std::int64_t source = srcLo + base;
        const bool valid = base < srcSize && source >= validLo && source < validHi;
        if (!valid) {
            if (started) break;  // samples form one run: the mapping is monotonic
            continue;
        }
        if (!started) {
            started = true;
            m.first = std::int32_t(x);
        }
        ++m.count;
        m.index.push_back(std::int32_t(source));
        m.next.push_back(std::int32_t(std::min(source + 1, validHi - 1)));
        m.frac.push_back(std::uint32_t(frac));
        if (sampling == 3) {
            m.spanStart.push_back(std::uint32_t(m.areaIndex.size()));
            const std::int64_t start = i * step;
            const std::int64_t end = start + step;
            std::uint32_t total = 0;
            for (std::int64_t c = start >> 16; (c << 16) < end; ++c) {
                const std::int64_t s = srcLo + c;
                if (s < validLo) continue;
                if (s >= validHi) break;
                const std::int64_t overlap =
                    std::min(end, (c + 1) << 16) - std::max(start, c << 16);
                const auto weight = std::uint32_t(overlap >> 8);
                if (weight == 0) continue;
                m.areaIndex.push_back(std::int32_t(s));
                m.areaWeight.push_back(weight);
                total += weight;
            }
            if (total == 0) {  // a footprint narrower than 1/256 pixel: its pixel alone
                m.areaIndex.push_back(std::int32_t(source));
                m.areaWeight.push_back(1);
            }
        }
    }
    if (sampling == 3) m.spanStart.push_back(std::uint32_t(m.areaIndex.size()));
}

inline Pixel bilinear(Pixel p00, Pixel p10, Pixel p01, Pixel p11, std::uint32_t fx,
                      std::uint32_t fy) {
    return bilinearPixel(p00, p10, p01, p11, fx, fy);
}

}  // namespace

Painter::Painter(PaintDevice& device) {
    if (auto* owner = dynamic_cast<BackBufferOwner*>(&device)) {
        target_ = owner->backBuffer();
    } else {
        target_ = &device;
    }
}

bool Painter::isValid() const { return target_ && !target_->isNull(); }

bool Painter::canDraw(const PaintDevice& source) const {
    return isValid() && !source.isNull() && target_->format() == Argb32Premultiplied &&
           source.format() == Argb32Premultiplied;
}

bool Painter::canFill() const {
    return isValid() && (target_->format() == Argb32 || target_->format() == Argb32Premultiplied);
}

bool Painter::drawImage(const PaintDevice& source, const Rect& sourceRect, const Rect& destRect,
                        const DrawParams& params) {
    return drawScaled(source, sourceRect, destRect, std::int32_t(params.sampling), params);
}

bool Painter::drawScaled(const PaintDevice& source, const Rect& sr, const Rect& dr,
                         std::int32_t sampling, const DrawParams& params) {
    if (!canDraw(source)) return false;
    if (sampling < 0 || sampling > 3) return false;
    if (sr.isEmpty() || dr.isEmpty()) return false;
    const std::int32_t mode = std::int32_t(params.blendMode);
    const int opacity = opacityToInt(params.opacity);
    const bool flipH = (params.flip & FlipHorizontal) != 0;
    const bool flipV = (params.flip & FlipVertical) != 0;

    AxisMap cols, rows;
    buildAxis(cols, sampling, sr.left, sr.width(), source.width(), dr.left, dr.width(),
              target_->width(), flipH);
    buildAxis(rows, sampling, sr.top, sr.height(), source.height(), dr.top, dr.height(),
              target_->height(), flipV);
    if (cols.count == 0 || rows.count == 0) return true;  // nothing falls inside

    const std::size_t srcStride = std::size_t(source.width());
    const std::size_t dstStride = std::size_t(target_->width());
    const Pixel* srcBits = source.bits();
    Pixel* dstBits = target_->bits();
    const std::size_t n = std::size_t(cols.count);
    std::vector<Pixel> line(n);

    // AreaAverage keeps per-column sums of the rows under one destination row.
    std::int32_t colLo = 0, colHi = 0;
    std::vector<std::uint64_t> sums;
    if (sampling == 3) {
        colLo = *std::min_element(cols.areaIndex.begin(), cols.areaIndex.end());
        colHi = *std::max_element(cols.areaIndex.begin(), cols.areaIndex.end()) + 1;
        sums.resize(std::size_t(colHi - colLo) * 4);
    }

    for (std::int32_t k = 0; k < rows.count; ++k) {
        const std::int32_t y = rows.first + k;
        Pixel* dst = dstBits + std::size_t(y) * dstStride + std::size_t(cols.first);
        const Pixel* row0 = srcBits + std::size_t(rows.index[std::size_t(k)]) * srcStride;
        switch (sampling) {
            case 0:
            case 1:
                if (cols.unitStep && !flipH) {
                    Blend::blendRow(mode, opacity, dst, row0 + cols.index[0], n);
                    continue;
                }
                for (std::size_t c = 0; c < n; ++c) line[c] = row0[cols.index[c]];
                break;
            case 2: {
                const Pixel* row1 = srcBits + std::size_t(rows.next[std::size_t(k)]) * srcStride;
                bilinearRowAvx2(row0, row1, cols.index.data(), cols.next.data(), cols.frac.data(),
                                rows.frac[std::size_t(k)], line.data(), n);
                break;
            }
            default: {
                std::fill(sums.begin(), sums.end(), 0);
                std::uint64_t rowWeight = 0;
                for (std::uint32_t r = rows.spanStart[std::size_t(k)];
                     r < rows.spanStart[std::size_t(k) + 1]; ++r) {
                    const Pixel* src = srcBits + std::size_t(rows.areaIndex[r]) * srcStride;
                    const std::uint64_t w = rows.areaWeight[r];
                    rowWeight += w;
                    std::uint64_t* s = sums.data();
                    for (std::int32_t x = colLo; x < colHi; ++x, s += 4) {
                        const Pixel p = src[x];
                        s[0] += w * (p & 0xFF);
                        s[1] += w * ((p >> 8) & 0xFF);
                        s[2] += w * ((p >> 16) & 0xFF);
                        s[3] += w * (p >> 24);
                    }
                }
                for (std::size_t c = 0; c < n; ++c) {
                    std::uint64_t acc[4] = {0, 0, 0, 0};
                    std::uint64_t colWeight = 0;
                    for (std::uint32_t i = cols.spanStart[c]; i < cols.spanStart[c + 1]; ++i) {
                        const std::uint64_t w = cols.areaWeight[i];
                        const std::uint64_t* s = sums.data() + std::size_t(cols.areaIndex[i] - colLo) * 4;
                        colWeight += w;
                        acc[0] += w * s[0];
                        acc[1] += w * s[1];
                        acc[2] += w * s[2];
                        acc[3] += w * s[3];
                    }
                    const std::uint64_t total = colWeight * rowWeight;
                    line[c] = Pixel(acc[3] / total) << 24 | Pixel(acc[2] / total) << 16 |
                              Pixel(acc[1] / total) << 8 | Pixel(acc[0] / total);
                }
                break;
            }
        }
        Blend::blendRow(mode, opacity, dst, line.data(), n);
    }
    return true;
}

bool Painter::drawImageAt(const PaintDevice& source, Point dest, const Rect& sr,
                          const DrawParams& params) {
    if (!canDraw(source)) return false;
    if (sr.isEmpty()) return false;
    // Per axis: offsets t into the source rectangle that are inside the source image and
    // land inside the target; a mirrored axis puts offset t at the far end.
    auto clip = [](std::int64_t srcLo, std::int64_t size, std::int64_t imageSize, std::int64_t at,
                   std::int64_t targetSize, bool mirrored, std::int64_t& t0, std::int64_t& t1) {
        t0 = std::max<std::int64_t>(0, -srcLo);
        t1 = std::min<std::int64_t>(size, imageSize - srcLo);
        if (!mirrored) {
            t0 = std::max(t0, -at);
            t1 = std::min(t1, targetSize - at);
        } else {
            t0 = std::max(t0, at + size - targetSize);
            t1 = std::min(t1, at + size);
        }
        return t0 < t1;
    };
    const bool flipH = (params.flip & FlipHorizontal) != 0;
    const bool flipV = (params.flip & FlipVertical) != 0;
    const std::int64_t w = sr.width(), h = sr.height();
    std::int64_t x0, x1, y0, y1;
    if (!clip(sr.left, w, source.width(), dest.x, target_->width(), flipH, x0, x1) ||
        !clip(sr.top, h, source.height(), dest.y, target_->height(), flipV, y0, y1)) {
        return false;
    }
    const Rect src{std::int32_t(sr.left + x0), std::int32_t(sr.top + y0),
                   std::int32_t(sr.left + x1), std::int32_t(sr.top + y1)};
    const std::int64_t dl = flipH ? dest.x + w - x1 : dest.x + x0;
    const std::int64_t dt = flipV ? dest.y + h - y1 : dest.y + y0;
    const Rect dst{std::int32_t(dl), std::int32_t(dt), std::int32_t(dl + (x1 - x0)),
                   std::int32_t(dt + (y1 - y0))};
    if (!flipH) {
        // Both rectangles lie inside their images now: rows go straight to the blend code.
        const std::int32_t mode = std::int32_t(params.blendMode);
        const int opacity = opacityToInt(params.opacity);
        const std::size_t n = std::size_t(x1 - x0);
        const std::size_t srcStride = std::size_t(source.width());
        const std::size_t dstStride = std::size_t(target_->width());
        for (std::int64_t k = 0; k < y1 - y0; ++k) {
            const std::int64_t sy = src.top + (flipV ? (y1 - y0 - 1 - k) : k);
            Blend::blendRow(mode, opacity,
                            target_->bits() + std::size_t(dst.top + k) * dstStride + std::size_t(dst.left),
                            source.bits() + std::size_t(sy) * srcStride + std::size_t(src.left), n);
        }
        return true;
    }
    return drawScaled(source, src, dst, 0, params);
}

bool Painter::drawRotated(const PaintDevice& source, const Rect& sr, Point destCentre,
                          Point rotationCentre, double degrees, double scale,
                          const DrawParams& params) {
    if (!canDraw(source)) return false;
    const auto sampling = std::int32_t(params.sampling);
    if (sampling < 0 || sampling > 3) return false;
    const Rect valid = sr.intersected(Rect{0, 0, source.width(), source.height()});
    if (sr.isEmpty() || valid.isEmpty()) return false;
    const int index = angleIndex(degrees);
    if (index < 0) return false;
    if (!(scale > 0.0) || !std::isfinite(scale)) scale = 1.0;
    // Beyond these the fixed-point steps lose all precision or overflow.
    scale = std::clamp(scale, 1.0 / 256.0, 65536.0);
    const std::int32_t* table = cosineTable();
    const auto cosQ = std::int64_t(table[index] / scale);
    const auto sinQ = std::int64_t(table[(index + 512 - 128) % 512] / scale);

    // Bounding rectangle of the source rectangle turned the other way about the centre.
    const double c = table[index] / 65536.0, s = table[(index + 384) % 512] / 65536.0;
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto& [px, py] : {std::pair{sr.left, sr.top}, std::pair{sr.right, sr.top},
                                 std::pair{sr.left, sr.bottom}, std::pair{sr.right, sr.bottom}}) {
        const double ox = double(px) - rotationCentre.x, oy = double(py) - rotationCentre.y;
        const double dx = (ox * c + oy * s) * scale, dy = (-ox * s + oy * c) * scale;
        minX = std::min(minX, dx);
        maxX = std::max(maxX, dx);
        minY = std::min(minY, dy);
        maxY = std::max(maxY, dy);
    }
    const auto clampCoord = [](double v) { return std::clamp(v, -1e9, 1e9); };
    const auto left = std::int64_t(std::floor(clampCoord(minX))) - 1 + destCentre.x;
    const auto top = std::int64_t(std::floor(clampCoord(minY))) - 1 + destCentre.y;
    const auto right = std::int64_t(std::ceil(clampCoord(maxX))) + 2 + destCentre.x;
    const auto bottom = std::int64_t(std::ceil(clampCoord(maxY))) + 2 + destCentre.y;

    const std::int32_t mode = std::int32_t(params.blendMode);
    const int opacity = opacityToInt(params.opacity);
    const bool flipH = (params.flip & FlipHorizontal) != 0;
    const bool flipV = (params.flip & FlipVertical) != 0;
    const bool nearest = sampling <= 1;
    const std::int64_t W = target_->width(), H = target_->height();
    const std::size_t srcStride = std::size_t(source.width());
    const Pixel* srcBits = source.bits();
    Pixel* dstBits = target_->bits();

    // Only the part of the walk that lands inside the target is visited.
    const auto walkRange = [](std::int64_t lo, std::int64_t hi, std::int64_t size, bool mirrored,
                              std::int64_t& i0, std::int64_t& i1) {
        // coordinate of walk step i: mirrored ? hi - 1 - i : lo + i
        if (!mirrored) {
            i0 = std::max<std::int64_t>(0, -lo);
            i1 = std::min<std::int64_t>(hi - lo, size - lo);
        } else {
            i0 = std::max<std::int64_t>(0, hi - size);
            i1 = std::min<std::int64_t>(hi - lo, hi);
        }
        return i0 < i1;
    };
    std::int64_t i0, i1, j0, j1;
    if (!walkRange(left, right, W, flipH, i0, i1) || !walkRange(top, bottom, H, flipV, j0, j1)) {
        return true;
    }

    // Fixed-point source position of the walk's first pixel, then one step per column and
    // one per row.
    const std::int64_t dx0 = left + i0 - destCentre.x, dy0 = top + j0 - destCentre.y;
    std::int64_t rowX = (std::int64_t(rotationCentre.x) << 16) + dx0 * cosQ - dy0 * sinQ;
    std::int64_t rowY = (std::int64_t(rotationCentre.y) << 16) + dx0 * sinQ + dy0 * cosQ;
    for (std::int64_t j = j0; j < j1; ++j, rowX -= sinQ, rowY += cosQ) {
        const std::int64_t y = flipV ? bottom - 1 - j : top + j;
        Pixel* dstRow = dstBits + std::size_t(y) * std::size_t(W);
        std::int64_t px = rowX, py = rowY;
        for (std::int64_t i = i0; i < i1; ++i, px += cosQ, py += sinQ) {
            const std::int64_t x = flipH ? right - 1 - i : left + i;
            const std::int64_t sx = px >> 16, sy = py >> 16;
            if (sx < valid.left || sx >= valid.right || sy < valid.top || sy >= valid.bottom) {
                continue;
            }
            const Pixel* r0 = srcBits + std::size_t(sy) * srcStride;
            Pixel sample;
            if (nearest) {
                sample = r0[sx];
            } else {
                const std::int64_t sx1 = std::min<std::int64_t>(sx + 1, valid.right - 1);
                const std::int64_t sy1 = std::min<std::int64_t>(sy + 1, valid.bottom - 1);
                const Pixel* r1 = srcBits + std::size_t(sy1) * srcStride;
                sample = bilinear(r0[sx], r0[sx1], r1[sx], r1[sx1], std::uint32_t((px >> 8) & 0xFF),
                                  std::uint32_t((py >> 8) & 0xFF));
            }
            Pixel& d = dstRow[x];
            d = Blend::blendPixel(mode, d, sample, opacity);
        }
    }
    return true;
}

bool Painter::fillRect(const Rect& rect, Pixel colour) {
    if (!canFill()) return false;
    const Rect r = rect.intersected(Rect{0, 0, target_->width(), target_->height()});
    if (r.isEmpty()) return true;
    Pixel* bits = target_->bits();
    const std::size_t stride = std::size_t(target_->width());
    for (std::int32_t y = r.top; y < r.bottom; ++y) {
        std::fill_n(bits + std::size_t(y) * stride + std::size_t(r.left), std::size_t(r.width()),
                    colour);
    }
    return true;
}

bool Painter::drawFrame(const Rect& rect) {
    if (!canFill()) return false;
    if (rect.isEmpty()) return true;
    fillRect(Rect{rect.left, rect.top, rect.right, rect.top + 1}, frameColour);
    fillRect(Rect{rect.left, rect.bottom - 1, rect.right, rect.bottom}, frameColour);
    fillRect(Rect{rect.left, rect.top, rect.left + 1, rect.bottom}, frameColour);
    fillRect(Rect{rect.right - 1, rect.top, rect.right, rect.bottom}, frameColour);
    return true;
}

}  // namespace Arbor::Graphics
