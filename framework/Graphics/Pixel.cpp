#include "framework/Graphics/Pixel.h"

namespace Arbor::Graphics {

int bytesPerPixel(std::int32_t format) {
    switch (format) {
        case 0: case 1: return 1;
        case 2: case 4: case 6: case 8: return 2;
        case 3: return 3;
        case 5: case 7: case 9: return 4;
        default: return 0;
    }
}

bool isPremultipliedFormat(std::int32_t format) { return format == 6 || format == 7; }

}  // namespace Arbor::Graphics
