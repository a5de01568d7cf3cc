#pragma once
// A widget's back buffer: a DibImage32 that only ever grows.
#include <cstdint>
#include <memory>

#include "framework/Graphics/DibImage32.h"
#include "framework/Graphics/Geometry.h"
#include "framework/Graphics/PaintDevice.h"

namespace Arbor::Graphics {

class BufferedImage : public PaintDevice {
public:
    BufferedImage(std::int32_t w, std::int32_t h);
    ~BufferedImage() override;

    std::int32_t width() const override;
    std::int32_t height() const override;
    std::int32_t format() const override;
    Pixel* bits() override;
    const Pixel* bits() const override;
    bool isNull() const override;

    // Nothing happens when the surface already covers w x h; otherwise it is replaced by a
    // transparent one of (max(w, width), max(h, height)) and its content is lost.
    void reserve(std::int32_t w, std::int32_t h);

    // The ARGB word at p; 0 outside the image or when the format is neither 5 nor 7.
    Pixel pixelAt(Point p) const;

    DibImage32* dib() { return dib_.get(); }
    const DibImage32* dib() const { return dib_.get(); }

private:
    std::unique_ptr<DibImage32> dib_;
};

}  // namespace Arbor::Graphics
