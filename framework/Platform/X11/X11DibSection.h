#pragma once
// The X11 surface: the pixels live in a System V shared-memory segment that the server
// reads directly (MIT-SHM), so presenting copies nothing on the client side. Where the
// segment cannot be made or the server cannot attach it (a remote display, a container
// with its own IPC namespace), presenting falls back to sending the pixels.
#include <mutex>

#include "framework/Platform/DibSection.h"
#include "framework/Platform/X11/X11Headers.h"

namespace Arbor::Platform::X11 {

class X11DibSection final : public DibSection {
public:
    // Null when the segment cannot be made.
    static std::unique_ptr<X11DibSection> create(std::int32_t width, std::int32_t height);
    ~X11DibSection() override;

    std::int32_t width() const override { return width_; }
    std::int32_t height() const override { return height_; }
    std::uint32_t* bits() const override { return pixels_; }
    void* bitmapHandle() const override { return pixels_; }
    void* deviceContext() const override { return nullptr; }

    // The shared image of the surface for windows of that visual and depth, attached to
    // the request connection on first use; null when the server cannot attach it.
    XImage* sharedImage(Display* display, Visual* visual, int depth) const;
    // True once the server has attached the segment.
    bool attached() const {
        std::lock_guard guard(mutex_);
        return attachedTo_ != nullptr && !attachFailed_;
    }

private:
    X11DibSection(std::int32_t width, std::int32_t height, int segment, std::uint32_t* pixels);

    std::int32_t width_;
    std::int32_t height_;
    std::uint32_t* pixels_;
    mutable std::mutex mutex_;
    mutable XShmSegmentInfo segment_{};
    mutable Display* attachedTo_ = nullptr;
    mutable bool attachFailed_ = false;
    mutable XImage* image32_ = nullptr;
    mutable XImage* image24_ = nullptr;
};

}  // namespace Arbor::Platform::X11
