// The GDI surface: a top-down 32-bit BI_BITFIELDS DIB section with an alpha mask, selected
// into its own memory DC, so UpdateLayeredWindow and BitBlt read what drawing wrote.
#include <windows.h>

#include <cstring>

#include "framework/Platform/DibSection.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

class Win32DibSection final : public DibSection {
public:
    Win32DibSection(HBITMAP bitmap, HDC dc, HGDIOBJ previous, const DIBSECTION& description)
        : bitmap_(bitmap), dc_(dc), previous_(previous), description_(description) {}
    ~Win32DibSection() override {
        if (dc_) {
            SelectObject(dc_, previous_);
            DeleteDC(dc_);
        }
        if (bitmap_) DeleteObject(bitmap_);
    }
    std::int32_t width() const override { return description_.dsBm.bmWidth; }
    std::int32_t height() const override {
        const LONG h = description_.dsBm.bmHeight;
        return h < 0 ? -h : h;
    }
    std::uint32_t* bits() const override {
        return static_cast<std::uint32_t*>(description_.dsBm.bmBits);
    }
    void* bitmapHandle() const override { return bitmap_; }
    void* deviceContext() const override { return dc_; }

private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ previous_;
    DIBSECTION description_;
};

}  // namespace

std::unique_ptr<DibSection> Win32::createDibSection(std::int32_t w, std::int32_t h) {
    BITMAPV5HEADER header;
    std::memset(&header, 0, sizeof header);
    header.bV5Size = sizeof(BITMAPV5HEADER);
    header.bV5Width = w;
    header.bV5Height = -h;  // top-down rows
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    DIBSECTION description;
    std::memset(&description, 0, sizeof description);
    if (GetObjectW(bitmap, sizeof description, &description) == 0) {
        DeleteObject(bitmap);
        return nullptr;
    }
    std::memset(pixels, 0, std::size_t(w) * std::size_t(h) * 4);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(bitmap);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    return std::make_unique<Win32DibSection>(bitmap, dc, previous, description);
}

}  // namespace Arbor::Platform
