#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

#include "framework/Platform/X11/X11Desktop.h"
#include "framework/Platform/X11/X11DibSection.h"
#include "framework/Platform/X11/X11Services.h"

namespace Arbor::Platform::X11 {

namespace {

// Same ceiling as decoded images: 2^28 pixels.
constexpr std::int64_t maxPixels = std::int64_t(1) << 28;

}  // namespace

std::unique_ptr<X11DibSection> X11DibSection::create(std::int32_t width, std::int32_t height) {
    const std::int64_t count = std::int64_t(width) * height;
    if (width <= 0 || height <= 0 || count > maxPixels) return nullptr;
    const int segment = shmget(IPC_PRIVATE, std::size_t(count) * 4, IPC_CREAT | 0600);
    if (segment < 0) return nullptr;
    void* memory = shmat(segment, nullptr, 0);
    // Marked for removal at once: the segment goes when the last attachment does, even
    // if the process dies (Linux lets the server attach a segment marked so).
    shmctl(segment, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1)) return nullptr;
    // A fresh segment is zero-filled, as a surface must start.
    return std::unique_ptr<X11DibSection>(new X11DibSection(width, height, segment, static_cast<std::uint32_t*>(memory)));
}

X11DibSection::X11DibSection(std::int32_t width, std::int32_t height, int segment, std::uint32_t* pixels)
    : width_(width), height_(height), pixels_(pixels) {
    segment_.shmid = segment;
    segment_.shmaddr = reinterpret_cast<char*>(pixels);
    segment_.readOnly = True;
}

X11DibSection::~X11DibSection() {
    for (XImage* image : {image32_, image24_}) {
        if (!image) continue;
        // The pixels and the segment record are ours to release, not Xlib's.
        image->data = nullptr;
        image->obdata = nullptr;
        XDestroyImage(image);
    }
    if (attachedTo_ && !attachFailed_ && X11Desktop::instance().connected()) {
        XShmDetach(attachedTo_, &segment_);
        XSync(attachedTo_, False);  // the server lets go before the memory does
    }
    shmdt(pixels_);
}

XImage* X11DibSection::sharedImage(Display* display, Visual* visual, int depth) const {
    std::lock_guard guard(mutex_);
    if (attachFailed_ || (attachedTo_ && attachedTo_ != display)) return nullptr;
    if (!attachedTo_) {
        X11Desktop::lastFailedRequest().store(0);
        if (!XShmAttach(display, &segment_)) {
            attachFailed_ = true;
            return nullptr;
        }
        XSync(display, False);
        int opcode = 0, event = 0, error = 0;
        XQueryExtension(display, "MIT-SHM", &opcode, &event, &error);
        if (X11Desktop::lastFailedRequest().load() == opcode) {
            attachFailed_ = true;
            return nullptr;
        }
        attachedTo_ = display;
    }
    XImage*& image = depth == 32 ? image32_ : image24_;
    if (!image) {
        image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, segment_.shmaddr,
                                const_cast<XShmSegmentInfo*>(&segment_), static_cast<unsigned>(width_),
                                static_cast<unsigned>(height_));
        // Only the layout of this surface will do: 32 bits per pixel, packed rows.
        if (image && (image->bits_per_pixel != 32 || image->bytes_per_line != width_ * 4)) {
            image->data = nullptr;
            image->obdata = nullptr;
            XDestroyImage(image);
            image = nullptr;
        }
    }
    return image;
}

std::unique_ptr<DibSection> makeDibSection(std::int32_t width, std::int32_t height) {
    if (auto shared = X11DibSection::create(width, height)) return shared;
    return Headless::createDibSection(width, height);
}

}  // namespace Arbor::Platform::X11
