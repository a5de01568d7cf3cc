#pragma once
// Anything that can be drawn on: a rectangle of 32-bit pixel words, rows of width() words,
// top row first.
#include <cstdint>

#include "framework/Graphics/Pixel.h"

namespace Arbor::Graphics {

class PaintDevice {
public:
    virtual ~PaintDevice() = default;
    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
    virtual std::int32_t format() const = 0;
    virtual Pixel* bits() = 0;
    virtual const Pixel* bits() const = 0;
    // True when there is no pixel array or a side is not positive.
    virtual bool isNull() const = 0;

protected:
    PaintDevice() = default;
    PaintDevice(const PaintDevice&) = delete;
    PaintDevice& operator=(const PaintDevice&) = delete;
};

class BufferedImage;

// Devices whose pixels live in a separate back buffer (widgets): a painter opened on such a
// device draws into the buffer, whose rows may be wider than the device.
class BackBufferOwner {
public:
    virtual ~BackBufferOwner() = default;
    virtual BufferedImage* backBuffer() = 0;
};

}  // namespace Arbor::Graphics
