#pragma once
// TGA 2.0 files (with the "TRUEVISION-XFILE" footer) to straight-alpha image buffers.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/Graphics/ImageBuffer.h"

namespace Arbor::Graphics {

// Null for files without the 2.0 footer, unsupported types or depths, or truncated data.
std::unique_ptr<ImageBuffer> decodeTgaMemory(const std::uint8_t* bytes, std::size_t length);

}  // namespace Arbor::Graphics
