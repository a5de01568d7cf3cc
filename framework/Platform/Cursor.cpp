#include "framework/Platform/Cursor.h"

#include "framework/Platform/Backend.h"
#include "framework/Platform/BackendDriver.h"

namespace Arbor::Platform {

std::unique_ptr<NativeCursor> createCursor(const CursorPixels& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height)) {
        return nullptr;
    }
    return currentBackend().createCursor(image);
}

std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length) {
    if (!bytes || length == 0) return nullptr;
    return currentBackend().createAnimatedCursor(bytes, length);
}

bool hasCursorFileLoader() { return currentBackend().loadCursorFile != nullptr; }

std::unique_ptr<NativeCursor> loadCursorFile(std::u16string_view path) {
    const auto loader = currentBackend().loadCursorFile;
    return loader ? loader(path) : nullptr;
}

}  // namespace Arbor::Platform
