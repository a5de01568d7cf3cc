// The surface of backends without GDI: a zeroed, 64-byte aligned buffer of packed rows.
#include <cstring>
#include <new>

#include "framework/Platform/DibSection.h"
#include "framework/Platform/Headless/HeadlessServices.h"

namespace Arbor::Platform {

namespace {

constexpr std::size_t surfaceAlignment = 64;
// Same ceiling as decoded images: 2^28 pixels.
constexpr std::int64_t maxPixels = std::int64_t(1) << 28;

class HeadlessDibSection final : public DibSection {
public:
    HeadlessDibSection(std::int32_t w, std::int32_t h, std::uint32_t* pixels)
        : width_(w), height_(h), pixels_(pixels) {}
    ~HeadlessDibSection() override {
        ::operator delete[](pixels_, std::align_val_t(surfaceAlignment));
    }
    std::int32_t width() const override { return width_; }
    std::int32_t height() const override { return height_; }
    std::uint32_t* bits() const override { return pixels_; }
    void* bitmapHandle() const override { return pixels_; }
    void* deviceContext() const override { return nullptr; }

private:
    std::int32_t width_;
    std::int32_t height_;
    std::uint32_t* pixels_;
};

}  // namespace

std::unique_ptr<DibSection> Headless::createDibSection(std::int32_t w, std::int32_t h) {
    const std::int64_t count = std::int64_t(w) * h;
    if (w <= 0 || h <= 0 || count > maxPixels) return nullptr;
    const std::size_t bytes = std::size_t(count) * 4;
    void* memory = ::operator new[](bytes, std::align_val_t(surfaceAlignment), std::nothrow);
    if (!memory) return nullptr;
    std::memset(memory, 0, bytes);
    return std::make_unique<HeadlessDibSection>(w, h, static_cast<std::uint32_t*>(memory));
}

}  // namespace Arbor::Platform
