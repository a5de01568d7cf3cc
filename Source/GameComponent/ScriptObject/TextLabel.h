#pragma once
// A short text rendered once into a picture of its own size (a hit area's name in the
// debug drawing), in the default face.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/Graphics/BufferedImage.h"

namespace Quenta::GameComponent {

class TextLabel {
public:
    TextLabel(const std::u16string& text, int points, std::uint32_t color);
    ~TextLabel();
    TextLabel(const TextLabel&) = delete;
    TextLabel& operator=(const TextLabel&) = delete;

    // Null for an empty text or when no glyph could be made.
    const Arbor::Graphics::BufferedImage* image() const { return image_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    std::unique_ptr<Arbor::Graphics::BufferedImage> image_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace Quenta::GameComponent
