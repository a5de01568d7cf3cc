// Cursors without a window system: each keeps the picture and hotspot (or the animated
// data) it was made from, so tests can see what a character would show.
#include <fstream>
#include <iterator>

#include "framework/Graphics/CursorDecoder.h"
#include "framework/Platform/Cursor.h"
#include "framework/Platform/NativePath.h"

namespace Arbor::Platform::Detail {

namespace {

class HeadlessCursor final : public NativeCursor {
public:
    explicit HeadlessCursor(Graphics::CursorImage image) : image_(std::move(image)), hasImage_(true) {}
    explicit HeadlessCursor(std::vector<std::uint8_t> animation) : animation_(std::move(animation)) {}
    void* handle() const override { return nullptr; }
    const Graphics::CursorImage* image() const override { return hasImage_ ? &image_ : nullptr; }
    const std::vector<std::uint8_t>* animation() const override {
        return hasImage_ ? nullptr : &animation_;
    }

private:
    Graphics::CursorImage image_;
    std::vector<std::uint8_t> animation_;
    bool hasImage_ = false;
};

}  // namespace

std::unique_ptr<NativeCursor> createHeadlessCursor(const Graphics::CursorImage& image) {
    return std::make_unique<HeadlessCursor>(image);
}

std::unique_ptr<NativeCursor> createHeadlessAnimatedCursor(const std::uint8_t* bytes, std::size_t length) {
    return std::make_unique<HeadlessCursor>(std::vector<std::uint8_t>(bytes, bytes + length));
}

// The stand-in for the system loader reads the file the way memory data is read.
std::unique_ptr<NativeCursor> loadHeadlessCursorFile(std::u16string_view path) {
    std::ifstream stream(toNativePath(path), std::ios::binary);
    if (!stream) return nullptr;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                          std::istreambuf_iterator<char>());
    if (Graphics::isAnimatedCursor(bytes.data(), bytes.size())) {
        return createHeadlessAnimatedCursor(bytes.data(), bytes.size());
    }
    auto image = Graphics::decodeCursorFile(bytes.data(), bytes.size());
    if (!image) return nullptr;
    return createHeadlessCursor(*image);
}

}  // namespace Arbor::Platform::Detail
