#include "framework/Platform/Win32/Win32IconPixels.h"

#include <cstring>
#include <vector>

namespace Arbor::Platform::Win32 {

HICON iconFromPixels(const std::uint32_t* pixels, int width, int height, bool isIcon, int hotspotX, int hotspotY) {
    BITMAPV5HEADER header;
    std::memset(&header, 0, sizeof header);
    header.bV5Size = sizeof(BITMAPV5HEADER);
    header.bV5Width = width;
    header.bV5Height = -height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HBITMAP colour =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!colour || !bits) {
        if (colour) DeleteObject(colour);
        return nullptr;
    }
    std::memcpy(bits, pixels, std::size_t(width) * std::size_t(height) * 4);
    const std::vector<std::uint8_t> zeros(std::size_t((width + 15) / 16) * 2 * std::size_t(height), 0);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, zeros.data());
    if (!mask) {
        DeleteObject(colour);
        return nullptr;
    }
    ICONINFO info;
    std::memset(&info, 0, sizeof info);
    info.fIcon = isIcon ? TRUE : FALSE;
    info.xHotspot = DWORD(hotspotX);
    info.yHotspot = DWORD(hotspotY);
    info.hbmMask = mask;
    info.hbmColor = colour;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

}  // namespace Arbor::Platform::Win32
