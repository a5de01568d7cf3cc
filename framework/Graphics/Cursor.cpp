#include "framework/Graphics/Cursor.h"

#include "framework/Graphics/CursorDecoder.h"

namespace Arbor::Graphics {

std::unique_ptr<Platform::NativeCursor> cursorFromFile(std::u16string_view path) {
    return Platform::loadCursorFile(path);
}

std::unique_ptr<Platform::NativeCursor> cursorFromMemory(const std::uint8_t* bytes, std::size_t length) {
    if (isAnimatedCursor(bytes, length)) return Platform::createAnimatedCursor(bytes, length);
    const auto image = decodeCursorFile(bytes, length);
    if (!image) return nullptr;
    return Platform::createCursor(*image);
}

}  // namespace Arbor::Graphics
