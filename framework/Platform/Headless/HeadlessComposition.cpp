// The picture of the virtual desktop: the windows' presented pixels composed bottom
// window first with the "over" operator, in premultiplied integers so that the same
// windows always give the same bytes, and turned into straight alpha at the end.
#include <algorithm>

#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessWindowing.h"

namespace Arbor::Platform::Headless {

namespace {

// x * y / 255, rounded to nearest, for x, y in 0..255.
std::uint32_t scale(std::uint32_t x, std::uint32_t y) {
    const std::uint32_t t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}

// The window's pixel as premultiplied 0xAARRGGBB with its constant opacity applied.
std::uint32_t premultipliedPixel(const WindowState& window, std::uint32_t pixel) {
    std::uint32_t a = pixel >> 24;
    std::uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    if (!window.premultiplied) {
        r = scale(r, a);
        g = scale(g, a);
        b = scale(b, a);
    }
    // A malformed premultiplied pixel (a colour above its alpha) is clamped, as a
    // compositor shows it.
    r = std::min(r, a);
    g = std::min(g, a);
    b = std::min(b, a);
    const std::uint32_t o = window.opacity;
    return (scale(a, o) << 24) | (scale(r, o) << 16) | (scale(g, o) << 8) | scale(b, o);
}

std::uint32_t over(std::uint32_t source, std::uint32_t destination) {
    const std::uint32_t keep = 255 - (source >> 24);
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t s = (source >> shift) & 0xFF;
        const std::uint32_t d = (destination >> shift) & 0xFF;
        result |= std::min<std::uint32_t>(255, s + scale(d, keep)) << shift;
    }
    return result;
}

}  // namespace

DesktopImage HeadlessDesktop::compose(const Rect& area) const {
    DesktopImage image;
    if (area.width() <= 0 || area.height() <= 0) return image;
    image.width = area.width();
    image.height = area.height();
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    std::vector<std::uint32_t> canvas(count, 0);
    for (const WindowState& window : windowing_->visiblePicturesBottomFirst()) {
        const int left = window.bounds.left - area.left;
        const int top = window.bounds.top - area.top;
        const int width = std::min(window.pixelWidth, window.bounds.width());
        const int height = std::min(window.pixelHeight, window.bounds.height());
        const int x0 = std::max(0, -left), x1 = std::min(width, image.width - left);
        const int y0 = std::max(0, -top), y1 = std::min(height, image.height - top);
        for (int y = y0; y < y1; ++y) {
            const std::uint32_t* row = window.pixels.data() + std::size_t(y) * std::size_t(window.pixelWidth);
            std::uint32_t* out = canvas.data() + std::size_t(y + top) * std::size_t(image.width);
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t source = premultipliedPixel(window, row[x]);
                if ((source >> 24) != 0) out[x + left] = over(source, out[x + left]);
            }
        }
    }
    image.rgba.resize(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = canvas[i];
        const std::uint32_t a = p >> 24;
        std::uint8_t* out = image.rgba.data() + i * 4;
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t v = (p >> (16 - 8 * c)) & 0xFF;
            out[c] = static_cast<std::uint8_t>(a == 0 ? 0 : std::min<std::uint32_t>(255, (v * 255 + a / 2) / a));
        }
        out[3] = static_cast<std::uint8_t>(a);
    }
    return image;
}

}  // namespace Arbor::Platform::Headless
