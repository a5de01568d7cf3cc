// Cursors without a window system: each keeps the picture and hotspot (or the animated
// data) it was made from, so tests can see what a character would show.
#include "framework/Platform/Cursor.h"
#include "framework/Platform/Headless/HeadlessServices.h"

namespace Arbor::Platform::Headless {

namespace {

class HeadlessCursor final : public NativeCursor {
public:
    explicit HeadlessCursor(CursorPixels image) : image_(std::move(image)), hasImage_(true) {}
    explicit HeadlessCursor(std::vector<std::uint8_t> animation) : animation_(std::move(animation)) {}
    void* handle() const override { return nullptr; }
    const CursorPixels* image() const override { return hasImage_ ? &image_ : nullptr; }
    const std::vector<std::uint8_t>* animation() const override {
        return hasImage_ ? nullptr : &animation_;
    }

private:
    CursorPixels image_;
    std::vector<std::uint8_t> animation_;
    bool hasImage_ = false;
};

}  // namespace

std::unique_ptr<NativeCursor> createCursor(const CursorPixels& image) {
    return std::make_unique<HeadlessCursor>(image);
}

std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length) {
    return std::make_unique<HeadlessCursor>(std::vector<std::uint8_t>(bytes, bytes + length));
}

}  // namespace Arbor::Platform::Headless
