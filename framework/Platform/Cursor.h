#pragma once
// Native cursors made from cursor pixels, from animated cursor data, or by the system
// loader from a file. Win32 makes real cursor handles; the headless backend keeps what
// each cursor was made from, for tests and previews.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace Arbor::Platform {

// A cursor picture: straight-alpha 0xAARRGGBB words, top row first, and the hotspot
// (the pixel that points).
struct CursorPixels {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t hotspotX = 0;
    std::int32_t hotspotY = 0;
    std::vector<std::uint32_t> pixels;  // width * height words
};

class NativeCursor {
public:
    virtual ~NativeCursor() = default;
    NativeCursor(const NativeCursor&) = delete;
    NativeCursor& operator=(const NativeCursor&) = delete;

    // HCURSOR on Win32; null on backends without native cursors.
    virtual void* handle() const = 0;
    // The picture and hotspot the cursor was made from, where the backend keeps it
    // (headless); null otherwise or for animated cursors.
    virtual const CursorPixels* image() const = 0;
    // The animated cursor data the cursor was made from, where the backend keeps it.
    virtual const std::vector<std::uint8_t>* animation() const = 0;

protected:
    NativeCursor() = default;
};

// A cursor (not an icon) of the picture with its hotspot. Null on failure.
std::unique_ptr<NativeCursor> createCursor(const CursorPixels& image);
// Animated cursor data ("RIFF"), given to the platform as it is. Null on failure.
std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length);
// True when the backend has a system loader for cursor files.
bool hasCursorFileLoader();
// A cursor file through the system's own loader (shared). `path` uses '\' separators.
// Null on failure and where the backend has no loader (Graphics::cursorFromFile then
// decodes the file itself).
std::unique_ptr<NativeCursor> loadCursorFile(std::u16string_view path);

}  // namespace Arbor::Platform
