#include "framework/Platform/X11/X11MenuPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace Arbor::Platform::X11 {

namespace {

// Colours as opaque 0xAARRGGBB words.
constexpr std::uint32_t kBackground = 0xFFF6F5F4;
constexpr std::uint32_t kBorder = 0xFFB0AFAC;
constexpr std::uint32_t kText = 0xFF2E3436;
constexpr std::uint32_t kDisabledText = 0xFF9A9C9A;
constexpr std::uint32_t kHighlight = 0xFF3584E4;
constexpr std::uint32_t kHighlightText = 0xFFFFFFFF;
constexpr std::uint32_t kSeparator = 0xFFD8D7D4;

// The font size of menus at 96 dpi: about 10 points.
constexpr double kFontEm = 13.0;

std::uint32_t blend(std::uint32_t under, std::uint32_t over, double amount) {
    if (amount <= 0) return under;
    if (amount >= 1) return over;
    std::uint32_t result = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const double a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        result |= static_cast<std::uint32_t>(std::lround(a + (b - a) * amount)) << shift;
    }
    return result;
}

void fill(std::uint32_t* pixels, int stride, const Rect& r, std::uint32_t color) {
    for (int y = r.top; y < r.bottom; ++y) std::fill(pixels + y * stride + r.left, pixels + y * stride + r.right, color);
}

// Coverage of a pixel by a shape given as a signed distance (negative inside), with a
// one-pixel soft edge.
double edgeCoverage(double distance) { return std::clamp(0.5 - distance, 0.0, 1.0); }

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double length = dx * dx + dy * dy;
    const double t = length > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length, 0.0, 1.0) : 0.0;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Paints every pixel of the box by the coverage the shape gives its centre.
template <typename Coverage>
void paintShape(std::uint32_t* pixels, int stride, const Rect& box, const Rect& clip, std::uint32_t color,
                Coverage coverage) {
    const int left = std::max(box.left, clip.left), right = std::min(box.right, clip.right);
    const int top = std::max(box.top, clip.top), bottom = std::min(box.bottom, clip.bottom);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            std::uint32_t& p = pixels[y * stride + x];
            p = blend(p, color, coverage(x + 0.5, y + 0.5));
        }
    }
}

char32_t nextCodePoint(std::u16string_view text, std::size_t& i) {
    const char16_t unit = text[i++];
    if (unit >= 0xD800 && unit < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000) {
        const char16_t low = text[i++];
        return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
    }
    return unit;
}

}  // namespace

double dpiFromResources(const char* resources) {
    if (!resources) return 96.0;
    const char* key = "Xft.dpi:";
    for (const char* line = resources; line && *line;) {
        if (std::strncmp(line, key, std::strlen(key)) == 0) {
            const double dpi = std::strtod(line + std::strlen(key), nullptr);
            if (std::isfinite(dpi) && dpi > 0) return dpi;
        }
        line = std::strchr(line, '\n');
        if (line) ++line;
    }
    return 96.0;
}

MenuPainter::MenuPainter(double dpi) {
    scale_ = std::clamp(std::isfinite(dpi) ? dpi : 96.0, 72.0, 480.0) / 96.0;
    FontRequest request;
    request.height = -std::max(8, scaled(kFontEm));
    font_ = glyphService().createFont(request);
    if (font_) {
        ascent_ = font_->metrics().ascent;
        fontHeight_ = std::max(1, font_->metrics().height);
    } else {
        ascent_ = scaled(10);
        fontHeight_ = scaled(14);
    }
}

int MenuPainter::scaled(double pixels) const { return std::max(1, static_cast<int>(std::lround(pixels * scale_))); }

int MenuPainter::textWidth(std::u16string_view text) const {
    if (!font_) return static_cast<int>(text.size()) * scaled(7);
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (auto glyph = font_->glyph(nextCodePoint(text, i), GlyphFormat::Gray65)) width += glyph->metrics.cellIncX;
    }
    return width;
}

MenuPainter::Layout MenuPainter::layout(const MenuTree& menu) const {
    Layout result;
    const int border = scaled(1), padding = scaled(4);
    const int itemHeight = fontHeight_ + scaled(10);
    const int separatorHeight = scaled(9);
    int widest = 0;
    int y = border + padding;
    for (const MenuEntry& entry : menu.entries) {
        const int height = entry.kind == MenuEntry::Kind::Separator ? separatorHeight : itemHeight;
        result.items.push_back(Rect{border, y, 0, y + height});
        y += height;
        if (entry.kind != MenuEntry::Kind::Separator) widest = std::max(widest, textWidth(entry.text));
    }
    // Check column, text, room for the submenu arrow.
    result.width = std::max(scaled(120), 2 * border + scaled(28) + widest + scaled(40));
    result.width = std::min(result.width, 32767);
    result.height = std::min(y + padding + border, 32767);
    if (menu.entries.empty()) result.height = std::max(result.height, 2 * border + 2 * padding + scaled(4));
    for (Rect& r : result.items) r.right = result.width - border;
    return result;
}

int MenuPainter::entryAt(const Layout& layout, Point point) {
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const Rect& r = layout.items[i];
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

void MenuPainter::drawText(std::uint32_t* pixels, int stride, const Rect& clip, int x, int baseline,
                           std::u16string_view text, std::uint32_t color) const {
    if (!font_) return;
    for (std::size_t i = 0; i < text.size();) {
        auto glyph = font_->glyph(nextCodePoint(text, i), GlyphFormat::Gray65);
        if (!glyph) continue;
        const GlyphMetrics& m = glyph->metrics;
        const int left = x + m.originX, top = baseline - m.originY;
        for (int gy = 0; gy < m.blackBoxHeight; ++gy) {
            const int py = top + gy;
            if (py < clip.top || py >= clip.bottom) continue;
            for (int gx = 0; gx < m.blackBoxWidth; ++gx) {
                const int px = left + gx;
                if (px < clip.left || px >= clip.right) continue;
                const int coverage = glyph->at(gx, gy);
                if (coverage == 0) continue;
                std::uint32_t& p = pixels[py * stride + px];
                p = blend(p, color, coverage / double(maxCoverage(glyph->format)));
            }
        }
        x += m.cellIncX;
    }
}

void MenuPainter::paint(const MenuTree& menu, const Layout& layout, int highlighted, DibSection& surface) const {
    const int width = std::min(layout.width, static_cast<int>(surface.width()));
    const int height = std::min(layout.height, static_cast<int>(surface.height()));
    if (width <= 0 || height <= 0) return;
    std::uint32_t* pixels = surface.bits();
    const int stride = surface.width();
    const int border = scaled(1);
    const Rect whole{0, 0, width, height};
    fill(pixels, stride, whole, kBorder);
    fill(pixels, stride, Rect{border, border, width - border, height - border}, kBackground);

    const int gutter = scaled(28);
    for (std::size_t i = 0; i < menu.entries.size() && i < layout.items.size(); ++i) {
        const MenuEntry& entry = menu.entries[i];
        const Rect item = layout.items[i];
        if (item.top >= height) break;
        const Rect clip{item.left, item.top, item.right, std::min(item.bottom, height - border)};
        if (entry.kind == MenuEntry::Kind::Separator) {
            const int y = (item.top + item.bottom) / 2;
            fill(pixels, stride, Rect{item.left + scaled(6), y, item.right - scaled(6), std::min(y + border, clip.bottom)},
                 kSeparator);
            continue;
        }
        const bool lit = static_cast<int>(i) == highlighted && entry.isSelectable();
        if (lit) fill(pixels, stride, clip, kHighlight);
        const std::uint32_t ink = entry.isGrayed() ? kDisabledText : lit ? kHighlightText : kText;
        const int middle = (item.top + item.bottom) / 2;
        const int baseline = middle - fontHeight_ / 2 + ascent_;
        drawText(pixels, stride, clip, item.left + gutter, baseline, entry.text, ink);

        const double cx = item.left + gutter / 2.0, cy = (item.top + item.bottom) / 2.0;
        if (entry.isChecked() && entry.isRadio()) {
            const double radius = 3.5 * scale_;
            const Rect box{int(cx - radius - 2), int(cy - radius - 2), int(cx + radius + 3), int(cy + radius + 3)};
            paintShape(pixels, stride, box, clip, ink,
                       [&](double x, double y) { return edgeCoverage(std::hypot(x - cx, y - cy) - radius); });
        } else if (entry.isChecked()) {
            const double s = scale_, half = std::max(0.8, 1.0 * s);
            const double ax = cx - 4.5 * s, ay = cy, bx = cx - 1.5 * s, by = cy + 3.5 * s, qx = cx + 4.5 * s,
                         qy = cy - 4 * s;
            const Rect box{int(cx - 7 * s), int(cy - 7 * s), int(cx + 7 * s) + 1, int(cy + 7 * s) + 1};
            paintShape(pixels, stride, box, clip, ink, [&](double x, double y) {
                const double d = std::min(segmentDistance(x, y, ax, ay, bx, by), segmentDistance(x, y, bx, by, qx, qy));
                return edgeCoverage(d - half);
            });
        }
        if (entry.kind == MenuEntry::Kind::SubMenu) {
            // A small triangle pointing right, near the right edge.
            const double s = scale_, tx = item.right - 12 * s, half = 4 * s;
            const Rect box{int(tx - 1), int(cy - half - 1), int(tx + half + 2), int(cy + half + 2)};
            paintShape(pixels, stride, box, clip, ink, [&](double x, double y) {
                // Distance to the triangle (tx, cy-half), (tx, cy+half), (tx+half, cy),
                // as the largest of its edges' signed distances.
                const double left = tx - x;
                const double up = ((x - tx) - (y - (cy - half))) / std::sqrt(2.0);
                const double down = ((x - tx) + (y - (cy + half))) / std::sqrt(2.0);
                return edgeCoverage(std::max({left, up, down}));
            });
        }
    }
}

}  // namespace Arbor::Platform::X11
