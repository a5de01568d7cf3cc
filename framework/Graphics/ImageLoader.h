#pragma once
// Image files by name: the extension (".png" or ".tga", any letter case) picks the decoder.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Graphics/ImageBuffer.h"

namespace Arbor::Graphics {

enum class ImageFileKind { Unknown, Png, Tga };

// The kind named by the text from the last '.' to the end, lower-cased.
ImageFileKind imageFileKind(std::u16string_view name);

// `path` uses '\' separators. When it does not exist it is retried relative to the
// directory of the running executable. Null when neither exists or decoding fails.
std::unique_ptr<ImageBuffer> loadImageFile(std::u16string_view path);

std::unique_ptr<ImageBuffer> loadImageMemory(const std::uint8_t* bytes, std::size_t length,
                                             std::u16string_view name);

}  // namespace Arbor::Graphics
