#pragma once
// A cursor picture independent of any window system: straight-alpha pixels, top row first,
// and the hotspot (the pixel that points).
#include <cstdint>
#include <vector>

#include "framework/Graphics/Pixel.h"

namespace Arbor::Graphics {

struct CursorImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t hotspotX = 0;
    std::int32_t hotspotY = 0;
    std::vector<Pixel> pixels;  // width * height words, format 5
};

}  // namespace Arbor::Graphics
