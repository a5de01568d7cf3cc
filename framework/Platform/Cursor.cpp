#include "framework/Platform/Cursor.h"

#include "framework/Platform/Backend.h"

namespace Arbor::Platform {

namespace {
bool onWin32() {
#if defined(TAVIZO_HAS_WIN32)
    return currentBackend() == BackendKind::Win32;
#else
    return false;
#endif
}
}  // namespace

std::unique_ptr<NativeCursor> createCursor(const Graphics::CursorImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height)) {
        return nullptr;
    }
#if defined(TAVIZO_HAS_WIN32)
    if (onWin32()) return Detail::createWin32Cursor(image);
#endif
    return onWin32() ? nullptr : Detail::createHeadlessCursor(image);
}

std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length) {
    if (!bytes || length == 0) return nullptr;
#if defined(TAVIZO_HAS_WIN32)
    if (onWin32()) return Detail::createWin32AnimatedCursor(bytes, length);
#endif
    return onWin32() ? nullptr : Detail::createHeadlessAnimatedCursor(bytes, length);
}

std::unique_ptr<NativeCursor> loadCursorFile(std::u16string_view path) {
#if defined(TAVIZO_HAS_WIN32)
    if (onWin32()) return Detail::loadWin32CursorFile(path);
#endif
    return onWin32() ? nullptr : Detail::loadHeadlessCursorFile(path);
}

}  // namespace Arbor::Platform
