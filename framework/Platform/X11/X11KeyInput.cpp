// Injected input through the XTest extension: each virtual key presses the key that
// carries its symbol on the current keyboard map; mouse buttons are the pointer's
// buttons 1 (left), 3 (right), 2 (middle), 8 and 9 (the X buttons).
#include <vector>

#include "framework/Platform/KeyInput.h"
#include "framework/Platform/X11/X11Desktop.h"
#include "framework/Platform/X11/X11KeyMap.h"
#include "framework/Platform/X11/X11Services.h"

namespace Arbor::Platform::X11 {

namespace {

// The button presses and releases a mouse event stands for, in order.
std::vector<std::pair<unsigned, bool>> buttonsOf(const InjectedInput& event) {
    std::vector<std::pair<unsigned, bool>> buttons;
    const std::uint32_t f = event.mouseFlags;
    if (f & MouseLeftDown) buttons.emplace_back(1, true);
    if (f & MouseLeftUp) buttons.emplace_back(1, false);
    if (f & MouseRightDown) buttons.emplace_back(3, true);
    if (f & MouseRightUp) buttons.emplace_back(3, false);
    if (f & MouseMiddleDown) buttons.emplace_back(2, true);
    if (f & MouseMiddleUp) buttons.emplace_back(2, false);
    const unsigned x = event.mouseData == 2 ? 9 : 8;
    if (f & MouseXDown) buttons.emplace_back(x, true);
    if (f & MouseXUp) buttons.emplace_back(x, false);
    return buttons;
}

class X11KeyInputService : public KeyInputService {
public:
    std::uint32_t send(std::span<const InjectedInput> events) override {
        X11Desktop& desktop = X11Desktop::instance();
        if (!desktop.connected() || !hasXTest(desktop.display())) return 0;
        Display* display = desktop.display();
        std::uint32_t accepted = 0;
        for (const InjectedInput& event : events) {
            bool ok = true;
            if (event.kind == InjectedInput::Kind::Key) {
                const KeyCode code = keyCodeOfVirtualKey(display, event.virtualKey);
                ok = code != 0 && XTestFakeKeyEvent(display, code, event.keyUp ? False : True, CurrentTime);
            } else {
                if (event.mouseFlags & MouseMove) ok = XTestFakeRelativeMotionEvent(display, 0, 0, CurrentTime);
                for (auto [button, press] : buttonsOf(event)) {
                    ok = XTestFakeButtonEvent(display, button, press ? True : False, CurrentTime) && ok;
                }
            }
            if (ok) ++accepted;
        }
        XSync(display, False);
        return accepted;
    }

private:
    static bool hasXTest(Display* display) {
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        return XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor);
    }
};

}  // namespace

std::unique_ptr<KeyInputService> makeKeyInputService() { return std::make_unique<X11KeyInputService>(); }

}  // namespace Arbor::Platform::X11
