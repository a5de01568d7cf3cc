#pragma once
// Cursors from files or bytes, made native by the current platform backend.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "framework/Platform/Cursor.h"

namespace Arbor::Graphics {

// The system's own loader on the file (shared). Null when it cannot be loaded.
std::unique_ptr<Platform::NativeCursor> cursorFromFile(std::u16string_view path);

// "RIFF" data (an animated cursor) goes to the platform as it is; anything else is read as
// a ".cur" file. Null when it does not decode.
std::unique_ptr<Platform::NativeCursor> cursorFromMemory(const std::uint8_t* bytes, std::size_t length);

}  // namespace Arbor::Graphics
