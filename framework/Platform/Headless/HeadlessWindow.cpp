// Windows of the virtual desktop; the state lives in HeadlessWindowing.
#include "framework/Platform/DibSection.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/HostServices.h"
#include "framework/Platform/InputShape.h"
#include "framework/Platform/Headless/HeadlessWindowing.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform {

namespace {

class HeadlessWindowService : public WindowService {
public:
    WindowHandle create(const WindowDescription& description) override { return w().create(description); }
    bool destroy(WindowHandle window) override { return w().destroy(window); }
    bool exists(WindowHandle window) override { return w().exists(window); }
    bool setTitle(WindowHandle window, std::u16string_view title) override { return w().setTitle(window, title); }
    std::u16string title(WindowHandle window, std::size_t maxLength) override {
        auto state = w().facts(window);
        if (!state) return {};
        return state->title.substr(0, maxLength);
    }
    bool show(WindowHandle window, bool visible, bool activate) override {
        return w().show(window, visible, activate);
    }
    bool isVisible(WindowHandle window) override {
        auto state = w().facts(window);
        return state && state->visible;
    }
    bool setBounds(WindowHandle window, const Rect& bounds) override { return w().setBounds(window, bounds); }
    std::optional<Rect> bounds(WindowHandle window) override {
        auto state = w().facts(window);
        if (!state) return std::nullopt;
        return state->bounds;
    }
    bool setZOrder(WindowHandle window, ZOrder where) override { return w().setZOrder(window, where); }
    bool placeBelow(WindowHandle window, WindowHandle above) override { return w().placeBelow(window, above); }
    bool isTopmost(WindowHandle window) override {
        auto state = w().facts(window);
        return state && state->topmost;
    }
    WindowHandle owner(WindowHandle window) override {
        auto state = w().facts(window);
        return state ? state->owner : WindowHandle::None;
    }
    bool setOwner(WindowHandle window, WindowHandle owner) override { return w().setOwner(window, owner); }
    WindowHandle parent(WindowHandle window) override { return owner(window); }
    std::uint32_t exStyle(WindowHandle window) override {
        auto state = w().facts(window);
        return state ? state->exStyle : 0;
    }
    bool setExStyle(WindowHandle window, std::uint32_t exStyle) override { return w().setExStyle(window, exStyle); }
    bool setForeground(WindowHandle window) override { return w().setForeground(window); }
    std::vector<WindowHandle> topLevelWindows() override { return w().zOrder(); }
    bool presentLayered(WindowHandle window, const DibSection& surface, const Rect& bounds,
                        std::uint8_t opacity) override {
        return w().presentLayered(window, surface, bounds, opacity);
    }
    bool setInputShapeFromAlpha(WindowHandle window, const DibSection& surface, int width, int height) override {
        if (width <= 0 || height <= 0 || width > surface.width() || height > surface.height()) return false;
        return w().setInputShape(window, opaqueRegion(surface.bits(), width, height, surface.width()));
    }
    bool setCapture(WindowHandle window) override { return w().setCapture(window); }
    bool releaseCapture() override { return w().releaseCapture(); }
    WindowHandle capture() override { return w().capture(); }
    bool setCursor(const NativeCursor* cursor) override {
        Headless::HeadlessDesktop::instance().setCurrentCursor(cursor);
        return true;
    }
    bool isKeyDown(int virtualKey) override { return Headless::HeadlessDesktop::instance().isKeyDown(virtualKey); }
    std::uint32_t processIdOf(WindowHandle window) override {
        auto state = w().state(window);
        if (!state) return 0;
        return state->processId != 0 ? state->processId : hostServices().currentProcessId();
    }
    ThreadId threadIdOf(WindowHandle window) override {
        auto state = w().state(window);
        return state ? state->thread : 0;
    }

private:
    static Headless::HeadlessWindowing& w() { return Headless::HeadlessDesktop::instance().windowing(); }
};

}  // namespace

std::unique_ptr<WindowService> Headless::makeWindowService() {
    return std::make_unique<HeadlessWindowService>();
}

}  // namespace Arbor::Platform
