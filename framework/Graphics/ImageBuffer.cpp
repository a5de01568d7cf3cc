#include "framework/Graphics/ImageBuffer.h"

#include <cstring>
#include <new>

namespace Arbor::Graphics {

std::unique_ptr<ImageBuffer> ImageBuffer::create(std::int32_t w, std::int32_t h) {
    auto buffer = std::make_unique<ImageBuffer>();
    if (!buffer->resize(w, h)) return nullptr;
    return buffer;
}

bool ImageBuffer::resize(std::int32_t w, std::int32_t h) {
    const std::int64_t count = std::int64_t(w) * h;
    if (w <= 0 || h <= 0 || count > maxPixels) {
        pixels_.reset();
        width_ = height_ = 0;
        bytes_ = 0;
        format_ = Argb32;
        return false;
    }
    const std::size_t newBytes = std::size_t(bytesPerPixel(Argb32)) * std::size_t(count);
    const std::size_t oldBytes =
        std::size_t(bytesPerPixel(format_)) * std::size_t(width_) * std::size_t(height_);
    if (!pixels_ || newBytes != oldBytes) {
        pixels_.reset();
        pixels_.reset(new (std::nothrow) Pixel[std::size_t(count)]);
        if (!pixels_) {
            width_ = height_ = 0;
            bytes_ = 0;
            format_ = Argb32;
            return false;
        }
        std::memset(pixels_.get(), 0, newBytes);
    }
    width_ = w;
    height_ = h;
    bytes_ = newBytes;
    format_ = Argb32;
    return true;
}

bool ImageBuffer::premultiply() {
    if (format_ != Argb32) return false;
    Pixel* p = pixels_.get();
    const std::size_t n = p ? std::size_t(width_) * std::size_t(height_) : 0;
    for (std::size_t i = 0; i < n; ++i) p[i] = premultiplyPixel(p[i]);
    format_ = Argb32Premultiplied;
    return true;
}

}  // namespace Arbor::Graphics
