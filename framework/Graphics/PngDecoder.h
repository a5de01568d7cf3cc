#pragma once
// PNG files to straight-alpha (format 5) image buffers, through libpng.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "framework/Graphics/ImageBuffer.h"

namespace Arbor::Graphics {

// Null when the signature is wrong or the data does not decode.
std::unique_ptr<ImageBuffer> decodePngFile(const std::filesystem::path& path);
// Reads only within [bytes, bytes + length).
std::unique_ptr<ImageBuffer> decodePngMemory(const std::uint8_t* bytes, std::size_t length);

// True when the data begins with the 8-byte PNG signature.
bool hasPngSignature(const std::uint8_t* bytes, std::size_t length);

}  // namespace Arbor::Graphics
