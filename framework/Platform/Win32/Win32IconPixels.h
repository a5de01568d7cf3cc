#pragma once
// Icons and cursors from straight-alpha 0xAARRGGBB pixels: CreateIconIndirect from a
// 32-bit top-down DIB with an all-zero mask (the alpha channel does the masking).
#include <windows.h>

#include <cstdint>

namespace Arbor::Platform::Win32 {

// An icon (isIcon) or a cursor with the given hotspot; null when the system refuses.
// pixels holds width * height words, top row first.
HICON iconFromPixels(const std::uint32_t* pixels, int width, int height, bool isIcon, int hotspotX = 0,
                     int hotspotY = 0);

}  // namespace Arbor::Platform::Win32
