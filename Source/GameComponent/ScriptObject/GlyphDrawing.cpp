#include "Source/GameComponent/ScriptObject/GlyphDrawing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "framework/Graphics/Blend.h"
#include "framework/Graphics/Pixel.h"

namespace Quenta::GameComponent {

using namespace Arbor::Graphics;

namespace {

// A layout coordinate as a pixel; far-off or undefined positions stay far off.
std::int32_t toPixel(double v) {
    if (!(v > -1e9)) return -1000000000;
    if (v > 1e9) return 1000000000;
    return static_cast<std::int32_t>(std::floor(v));
}

}  // namespace

void drawCharItem(Painter& painter, const CharItem& item) {
    if (!painter.isValid()) return;
    PaintDevice& target = *painter.target();
    const std::int32_t left = toPixel(item.x);
    const std::int32_t top = toPixel(item.y);
    const CharGlyph& glyph = item.glyph;
    const std::uint32_t a = 0xFF, r = redOf(item.color), g = greenOf(item.color), b = blueOf(item.color);

    if (item.underline && glyph.advance > 0 && glyph.cellHeight > 0) {
        const int thickness = glyph.cellHeight < 16 ? 1 : glyph.cellHeight / 16;
        const std::int64_t bottom = std::int64_t{top} + glyph.cellHeight;
        painter.fillRect(Rect{left, static_cast<std::int32_t>(bottom - thickness),
                              static_cast<std::int32_t>(std::int64_t{left} + glyph.advance),
                              static_cast<std::int32_t>(bottom)},
                         premultiplyPixel(makePixel(alphaOf(item.color), r, g, b)));
    }
    if (item.code == 9 || item.code == 10 || item.code == 13 || !glyph.hasInk()) return;

    const Arbor::Platform::Glyph& bitmap = *glyph.bitmap;
    const std::int64_t width = target.width();
    const std::int64_t height = target.height();
    Pixel* bits = target.bits();
    const bool mono = glyph.format == Arbor::Platform::GlyphFormat::Monochrome;
    const int levels = Arbor::Platform::maxCoverage(glyph.format);
    const Pixel solid = makePixel(a, r, g, b);
    for (int row = 0; row < glyph.boxHeight; ++row) {
        const std::int64_t y = std::int64_t{top} + glyph.boxY + row;
        if (y < 0 || y >= height) continue;
        Pixel* line = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int col = 0; col < glyph.boxWidth; ++col) {
            const std::int64_t x = std::int64_t{left} + glyph.boxX + col;
            if (x < 0 || x >= width) continue;
            const std::uint32_t v = bitmap.at(col, row);
            if (v == 0) continue;
            if (mono) {
                line[x] = solid;
                continue;
            }
            const std::uint32_t l = (v >= static_cast<std::uint32_t>(levels) ? 255u : v * 255u / static_cast<std::uint32_t>(levels));
            line[x] = Blend::sourceOver(line[x], makePixel(l, r * l / 255u, g * l / 255u, b * l / 255u));
        }
    }
}

}  // namespace Quenta::GameComponent
