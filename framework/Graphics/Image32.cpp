#include "framework/Graphics/Image32.h"

#include "framework/Graphics/ImageLoader.h"

namespace Arbor::Graphics {

namespace {
std::unique_ptr<ImageBuffer> orEmpty(std::unique_ptr<ImageBuffer> buffer) {
    return buffer ? std::move(buffer) : std::make_unique<ImageBuffer>();
}
}  // namespace

Image32::Image32(std::int32_t w, std::int32_t h) : buffer_(orEmpty(ImageBuffer::create(w, h))) {}

Image32::Image32(std::u16string_view path) : buffer_(orEmpty(loadImageFile(path))) {}

Image32::Image32(std::u16string_view name, const std::uint8_t* bytes, std::size_t length)
    : buffer_(orEmpty(loadImageMemory(bytes, length, name))) {}

Image32::Image32(std::unique_ptr<ImageBuffer> buffer) : buffer_(orEmpty(std::move(buffer))) {}

Image32::~Image32() = default;

std::int32_t Image32::width() const { return buffer_->width(); }
std::int32_t Image32::height() const { return buffer_->height(); }
std::int32_t Image32::format() const { return buffer_->format(); }
Pixel* Image32::bits() { return buffer_->pixels(); }
const Pixel* Image32::bits() const { return buffer_->pixels(); }

bool Image32::isNull() const {
    return buffer_->pixels() == nullptr || buffer_->width() <= 0 || buffer_->height() <= 0;
}

}  // namespace Arbor::Graphics
