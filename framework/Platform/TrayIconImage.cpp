// Icon pictures for backends without native icons. Handles are the images' addresses;
// a registry of the live ones keeps a stray value (a handle of another system, an image
// already deleted) from being read as a picture.
#include <mutex>
#include <set>

#include "framework/Platform/TrayIcon.h"

namespace Arbor::Platform {

namespace {

struct Registry {
    std::mutex mutex;
    std::set<const void*> live;
};

Registry& registry() {
    static auto* instance = new Registry;  // outlives images deleted during exit
    return *instance;
}

class PixelTrayIcon final : public TrayIconImage {
public:
    explicit PixelTrayIcon(const TrayIconPixels& picture) : picture_(picture) {
        std::lock_guard lock(registry().mutex);
        registry().live.insert(this);
    }
    ~PixelTrayIcon() override {
        std::lock_guard lock(registry().mutex);
        registry().live.erase(this);
    }
    void* handle() const override { return const_cast<PixelTrayIcon*>(this); }
    const TrayIconPixels& picture() const { return picture_; }

private:
    TrayIconPixels picture_;
};

}  // namespace

bool TrayIconPixels::valid() const {
    return width >= 1 && height >= 1 && width <= TrayIconMaxSide && height <= TrayIconMaxSide &&
           pixels.size() == std::size_t(width) * std::size_t(height);
}

std::unique_ptr<TrayIconImage> makePixelTrayIcon(const TrayIconPixels& picture) {
    if (!picture.valid()) return nullptr;
    return std::make_unique<PixelTrayIcon>(picture);
}

std::optional<TrayIconPixels> pixelsOfTrayIcon(void* handle) {
    std::lock_guard lock(registry().mutex);
    if (!handle || !registry().live.count(handle)) return std::nullopt;
    return static_cast<const PixelTrayIcon*>(handle)->picture();
}

// Backends whose icons have no panel-drawn menu keep showing their own.
bool TrayIconService::setMenu(WindowHandle, const std::vector<TrayMenuItem>&) { return false; }

}  // namespace Arbor::Platform
