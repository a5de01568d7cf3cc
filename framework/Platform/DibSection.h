#pragma once
// A 32-bit top-down pixel surface that the window system can read without a copy: on
// Win32 a DIB section selected into its own memory DC for its whole life; elsewhere an
// aligned buffer of packed rows (stride = width * 4), the layout an X server accepts for a
// 32-bit ZPixmap image.
#include <cstdint>
#include <memory>

namespace Arbor::Platform {

class DibSection {
public:
    virtual ~DibSection() = default;
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
    // The first (top-left) pixel; every pixel is 0 after creation.
    virtual std::uint32_t* bits() const = 0;
    // The native bitmap object (HBITMAP on Win32, the buffer elsewhere); null when absent.
    virtual void* bitmapHandle() const = 0;
    // The memory device context holding the bitmap (HDC on Win32; null elsewhere).
    virtual void* deviceContext() const = 0;

protected:
    DibSection() = default;
};

// Made by the current backend; null when w or h is not positive or creation fails.
std::unique_ptr<DibSection> createDibSection(std::int32_t w, std::int32_t h);

}  // namespace Arbor::Platform
