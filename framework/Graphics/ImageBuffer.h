#pragma once
// The pixel store of one Image32: packed rows top to bottom, stride = width pixels.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/Graphics/Pixel.h"

namespace Arbor::Graphics {

class ImageBuffer {
public:
    // Largest pixel count a buffer accepts (1 GiB of 32-bit pixels); larger sizes fail
    // instead of exhausting memory on a hostile file header.
    static constexpr std::int64_t maxPixels = std::int64_t(1) << 28;

    ImageBuffer() = default;
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;

    // A zeroed format-5 buffer of w x h, or null when the size is not positive, too large
    // or cannot be allocated.
    static std::unique_ptr<ImageBuffer> create(std::int32_t w, std::int32_t h);

    // Keeps the array when the byte size is unchanged, otherwise replaces it with a zeroed
    // one of the new size; the format becomes 5 either way. False (and an empty buffer)
    // when the new size cannot be had.
    bool resize(std::int32_t w, std::int32_t h);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::int32_t format() const { return format_; }
    void setFormat(std::int32_t format) { format_ = format; }
    Pixel* pixels() { return pixels_.get(); }
    const Pixel* pixels() const { return pixels_.get(); }
    std::size_t byteSize() const { return bytes_; }

    // Format 5 becomes 7; any other format is left alone and false returned.
    bool premultiply();

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t format_ = Argb32;
    std::size_t bytes_ = 0;
    std::unique_ptr<Pixel[]> pixels_;
};

}  // namespace Arbor::Graphics
