#include "framework/Graphics/Cursor.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "framework/Graphics/CursorDecoder.h"
#include "framework/Platform/NativePath.h"

namespace Arbor::Graphics {

std::unique_ptr<Platform::NativeCursor> cursorFromFile(std::u16string_view path) {
    if (Platform::hasCursorFileLoader()) return Platform::loadCursorFile(path);
    // Without a system loader the file is read the way cursor data in memory is.
    std::ifstream stream(Platform::toNativePath(path), std::ios::binary);
    if (!stream) return nullptr;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                          std::istreambuf_iterator<char>());
    return cursorFromMemory(bytes.data(), bytes.size());
}

std::unique_ptr<Platform::NativeCursor> cursorFromMemory(const std::uint8_t* bytes, std::size_t length) {
    if (isAnimatedCursor(bytes, length)) return Platform::createAnimatedCursor(bytes, length);
    const auto image = decodeCursorFile(bytes, length);
    if (!image) return nullptr;
    return Platform::createCursor(*image);
}

}  // namespace Arbor::Graphics
