#pragma once
// Native cursors made from decoded cursor images, from animated cursor data, or by the
// system loader from a file. Win32 makes real cursor handles; the headless backend keeps
// what each cursor was made from, for tests and previews.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/Graphics/CursorImage.h"

namespace Arbor::Platform {

class NativeCursor {
public:
    virtual ~NativeCursor() = default;
    NativeCursor(const NativeCursor&) = delete;
    NativeCursor& operator=(const NativeCursor&) = delete;

    // HCURSOR on Win32; null on backends without native cursors.
    virtual void* handle() const = 0;
    // The picture and hotspot the cursor was made from, where the backend keeps it
    // (headless); null otherwise or for animated cursors.
    virtual const Graphics::CursorImage* image() const = 0;
    // The animated cursor data the cursor was made from, where the backend keeps it.
    virtual const std::vector<std::uint8_t>* animation() const = 0;

protected:
    NativeCursor() = default;
};

// A cursor (not an icon) of the image with its hotspot. Null on failure.
std::unique_ptr<NativeCursor> createCursor(const Graphics::CursorImage& image);
// Animated cursor data ("RIFF"), given to the platform as it is. Null on failure.
std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length);
// A cursor file through the system's own loader (shared). `path` uses '\' separators.
std::unique_ptr<NativeCursor> loadCursorFile(std::u16string_view path);

namespace Detail {
std::unique_ptr<NativeCursor> createHeadlessCursor(const Graphics::CursorImage& image);
std::unique_ptr<NativeCursor> createHeadlessAnimatedCursor(const std::uint8_t* bytes, std::size_t length);
std::unique_ptr<NativeCursor> loadHeadlessCursorFile(std::u16string_view path);
#if defined(TAVIZO_HAS_WIN32)
std::unique_ptr<NativeCursor> createWin32Cursor(const Graphics::CursorImage& image);
std::unique_ptr<NativeCursor> createWin32AnimatedCursor(const std::uint8_t* bytes, std::size_t length);
std::unique_ptr<NativeCursor> loadWin32CursorFile(std::u16string_view path);
#endif
}  // namespace Detail

}  // namespace Arbor::Platform
