// Injected input on the virtual desktop: each batch is recorded, and the keys and
// buttons it presses or releases change the desktop's key state, as they would on a
// real system.
#include <algorithm>
#include <vector>

#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/KeyInput.h"

namespace Arbor::Platform {

namespace {

void applyMouse(Headless::HeadlessDesktop& desktop, const InjectedInput& event) {
    struct Button {
        std::uint32_t down, up;
        int code;
    };
    static constexpr Button buttons[] = {{MouseLeftDown, MouseLeftUp, 1},
                                         {MouseRightDown, MouseRightUp, 2},
                                         {MouseMiddleDown, MouseMiddleUp, 4}};
    for (const Button& b : buttons) {
        if (event.mouseFlags & b.down) desktop.setKeyDown(b.code, true);
        if (event.mouseFlags & b.up) desktop.setKeyDown(b.code, false);
    }
    if (event.mouseData == 1 || event.mouseData == 2) {
        const int code = event.mouseData == 1 ? 5 : 6;
        if (event.mouseFlags & MouseXDown) desktop.setKeyDown(code, true);
        if (event.mouseFlags & MouseXUp) desktop.setKeyDown(code, false);
    }
}

class HeadlessKeyInputService : public KeyInputService {
public:
    std::uint32_t send(std::span<const InjectedInput> events) override {
        Headless::HeadlessEffects& effects = Headless::HeadlessEffects::instance();
        const std::uint32_t accepted = std::min<std::uint32_t>(
            static_cast<std::uint32_t>(events.size()), effects.acceptedInputLimit().value_or(UINT32_MAX));
        std::vector<InjectedInput> batch(events.begin(), events.begin() + accepted);
        Headless::HeadlessDesktop& desktop = Headless::HeadlessDesktop::instance();
        for (const InjectedInput& event : batch) {
            if (event.kind == InjectedInput::Kind::Key) {
                desktop.setKeyDown(event.virtualKey, !event.keyUp);
            } else {
                applyMouse(desktop, event);
            }
        }
        effects.recordInput(std::move(batch));
        return accepted;
    }
};

}  // namespace

std::unique_ptr<KeyInputService> Headless::makeKeyInputService() {
    return std::make_unique<HeadlessKeyInputService>();
}

}  // namespace Arbor::Platform
