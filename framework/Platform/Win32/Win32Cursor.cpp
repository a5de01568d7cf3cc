// Cursor handles: CreateIconIndirect from a 32-bit DIB and an all-zero mask, animated data
// through CreateIconFromResource, files through the shared system loader.
#include <windows.h>

#include <cstring>
#include <string>

#include "framework/Platform/Cursor.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform::Win32 {

namespace {

class Win32Cursor final : public NativeCursor {
public:
    // Shared cursors belong to the system and are never destroyed.
    Win32Cursor(HCURSOR cursor, bool owned) : cursor_(cursor), owned_(owned) {}
    ~Win32Cursor() override {
        if (owned_ && cursor_) DestroyCursor(cursor_);
    }
    void* handle() const override { return cursor_; }
    const CursorPixels* image() const override { return nullptr; }
    const std::vector<std::uint8_t>* animation() const override { return nullptr; }

private:
    HCURSOR cursor_;
    bool owned_;
};

}  // namespace

std::unique_ptr<NativeCursor> createCursor(const CursorPixels& image) {
    const int w = image.width, h = image.height;
    BITMAPV5HEADER header;
    std::memset(&header, 0, sizeof header);
    header.bV5Size = sizeof(BITMAPV5HEADER);
    header.bV5Width = w;
    header.bV5Height = -h;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (!colour || !bits) {
        if (colour) DeleteObject(colour);
        return nullptr;
    }
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * 4);
    const std::vector<std::uint8_t> zeros(std::size_t((w + 15) / 16) * 2 * std::size_t(h), 0);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, zeros.data());
    if (!mask) {
        DeleteObject(colour);
        return nullptr;
    }
    ICONINFO info;
    std::memset(&info, 0, sizeof info);
    info.fIcon = FALSE;
    info.xHotspot = DWORD(image.hotspotX);
    info.yHotspot = DWORD(image.hotspotY);
    info.hbmMask = mask;
    info.hbmColor = colour;
    HCURSOR cursor = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    if (!cursor) return nullptr;
    return std::make_unique<Win32Cursor>(cursor, true);
}

std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length) {
    if (length > 0x7FFFFFFF) return nullptr;
    std::vector<BYTE> copy(bytes, bytes + length);  // the call takes a writable pointer
    HICON cursor = CreateIconFromResource(copy.data(), DWORD(copy.size()), FALSE, 0x00030000);
    if (!cursor) return nullptr;
    return std::make_unique<Win32Cursor>(static_cast<HCURSOR>(cursor), true);
}

std::unique_ptr<NativeCursor> loadCursorFile(std::u16string_view path) {
    const std::wstring name(path.begin(), path.end());
    HANDLE cursor = LoadImageW(nullptr, name.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_SHARED);
    if (!cursor) return nullptr;
    return std::make_unique<Win32Cursor>(static_cast<HCURSOR>(cursor), false);
}

}  // namespace Arbor::Platform::Win32
