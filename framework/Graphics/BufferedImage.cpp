#include "framework/Graphics/BufferedImage.h"

#include <algorithm>

namespace Arbor::Graphics {

BufferedImage::BufferedImage(std::int32_t w, std::int32_t h)
    : dib_(std::make_unique<DibImage32>(w, h)) {}

BufferedImage::~BufferedImage() = default;

std::int32_t BufferedImage::width() const { return dib_ ? dib_->width() : 0; }
std::int32_t BufferedImage::height() const { return dib_ ? dib_->height() : 0; }
std::int32_t BufferedImage::format() const { return dib_ ? dib_->format() : 0; }
Pixel* BufferedImage::bits() { return dib_ ? dib_->bits() : nullptr; }
const Pixel* BufferedImage::bits() const { return dib_ ? dib_->bits() : nullptr; }
bool BufferedImage::isNull() const { return !dib_ || dib_->isNull(); }

void BufferedImage::reserve(std::int32_t w, std::int32_t h) {
    const std::int32_t curW = width();
    const std::int32_t curH = height();
    if (curW >= w && curH >= h) return;
    // The old surface goes first so that both never need to fit in memory together.
    dib_.reset();
    dib_ = std::make_unique<DibImage32>(std::max(w, curW), std::max(h, curH));
}

Pixel BufferedImage::pixelAt(Point p) const {
    if (isNull()) return 0;
    const std::int32_t f = format();
    if (f != Argb32 && f != Argb32Premultiplied) return 0;
    if (p.x < 0 || p.y < 0 || p.x >= width() || p.y >= height()) return 0;
    return bits()[std::size_t(p.y) * std::size_t(width()) + std::size_t(p.x)];
}

}  // namespace Arbor::Graphics
