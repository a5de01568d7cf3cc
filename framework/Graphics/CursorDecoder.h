#pragma once
// ".cur" files: the first image of a cursor resource file, with its hotspot.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "framework/Graphics/CursorImage.h"

namespace Arbor::Graphics {

// None unless the header's type is 2 (cursor) and the first image is complete. Bitmap
// images (1, 4, 8, 24 or 32 bits per pixel, colour plus AND mask) and PNG images are read.
std::optional<CursorImage> decodeCursorFile(const std::uint8_t* bytes, std::size_t length);

// True for animated cursor data (a "RIFF" container), which is handed to the platform whole.
bool isAnimatedCursor(const std::uint8_t* bytes, std::size_t length);

}  // namespace Arbor::Graphics
