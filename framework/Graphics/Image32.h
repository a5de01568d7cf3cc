#pragma once
// An image held in memory: one owned ImageBuffer, decoded from a file or made blank.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Graphics/ImageBuffer.h"
#include "framework/Graphics/PaintDevice.h"

namespace Arbor::Graphics {

class Image32 : public PaintDevice {
public:
    // A zeroed format-5 image of w x h (null when the size is not usable).
    Image32(std::int32_t w, std::int32_t h);
    // Decoded with loadImageFile; null when it does not decode.
    explicit Image32(std::u16string_view path);
    // Decoded with loadImageMemory; the name's extension selects the decoder.
    Image32(std::u16string_view name, const std::uint8_t* bytes, std::size_t length);
    // Takes a decoded buffer (may be null).
    explicit Image32(std::unique_ptr<ImageBuffer> buffer);
    ~Image32() override;

    std::int32_t width() const override;
    std::int32_t height() const override;
    std::int32_t format() const override;
    Pixel* bits() override;
    const Pixel* bits() const override;
    bool isNull() const override;

    ImageBuffer& buffer() { return *buffer_; }
    const ImageBuffer& buffer() const { return *buffer_; }
    // Straight to premultiplied; false when the image is not format 5.
    bool premultiply() { return buffer_->premultiply(); }

private:
    std::unique_ptr<ImageBuffer> buffer_;
};

}  // namespace Arbor::Graphics
