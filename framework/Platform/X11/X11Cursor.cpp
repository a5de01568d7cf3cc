// Cursors from pictures: an ARGB cursor of the server (Xcursor over RENDER). Animated
// cursor data is not decoded here: such cursors are kept as data and show the default
// pointer.
#include "framework/Platform/Cursor.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11 {

namespace {

class X11Cursor final : public NativeCursor {
public:
    X11Cursor(Cursor cursor, CursorPixels image) : cursor_(cursor), image_(std::move(image)) {}
    ~X11Cursor() override {
        X11Desktop& d = X11Desktop::instance();
        if (d.connected()) {
            XFreeCursor(d.display(), cursor_);
            XFlush(d.display());
        }
    }
    void* handle() const override { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(cursor_)); }
    const CursorPixels* image() const override { return &image_; }
    const std::vector<std::uint8_t>* animation() const override { return nullptr; }

private:
    Cursor cursor_;
    CursorPixels image_;
};

// Straight alpha to the premultiplied words the server expects.
std::uint32_t premultiplied(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) | scale(argb & 0xFF);
}

}  // namespace

std::unique_ptr<NativeCursor> createCursor(const CursorPixels& pixels) {
    X11Desktop& d = X11Desktop::instance();
    if (!d.connected() || pixels.width <= 0 || pixels.height <= 0 || pixels.width > 1024 || pixels.height > 1024 ||
        pixels.pixels.size() != std::size_t(pixels.width) * std::size_t(pixels.height)) {
        return nullptr;
    }
    XcursorImage* image = XcursorImageCreate(pixels.width, pixels.height);
    if (!image) return nullptr;
    image->xhot = static_cast<XcursorDim>(std::clamp(pixels.hotspotX, 0, pixels.width - 1));
    image->yhot = static_cast<XcursorDim>(std::clamp(pixels.hotspotY, 0, pixels.height - 1));
    for (std::size_t i = 0; i < pixels.pixels.size(); ++i) image->pixels[i] = premultiplied(pixels.pixels[i]);
    const Cursor cursor = XcursorImageLoadCursor(d.display(), image);
    XcursorImageDestroy(image);
    if (!cursor) return nullptr;
    return std::make_unique<X11Cursor>(cursor, pixels);
}

}  // namespace Arbor::Platform::X11
