#pragma once
// A premultiplied 32-bit surface the window system reads directly (a DIB section with its
// memory DC on Win32, an aligned buffer elsewhere).
#include <cstdint>
#include <memory>

#include "framework/Graphics/PaintDevice.h"

namespace Arbor::Platform {
class DibSection;
}

namespace Arbor::Graphics {

class DibImage32 : public PaintDevice {
public:
    // Every pixel starts at 0. Null when the surface cannot be made.
    DibImage32(std::int32_t w, std::int32_t h);
    ~DibImage32() override;

    std::int32_t width() const override;
    std::int32_t height() const override;
    // 7 while the premultiplied flag is set (always, as created), else 5.
    std::int32_t format() const override;
    Pixel* bits() override;
    const Pixel* bits() const override;
    bool isNull() const override;

    bool isPremultiplied() const { return premultiplied_; }
    // The memory DC holding the bitmap (HDC on Win32, null elsewhere).
    void* deviceContext() const;
    void* bitmapHandle() const;
    // The platform surface itself, for the window system to show; null when absent.
    const Platform::DibSection* section() const { return section_.get(); }

private:
    std::unique_ptr<Platform::DibSection> section_;
    bool premultiplied_ = true;
};

}  // namespace Arbor::Graphics
