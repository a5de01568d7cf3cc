// Injected input through SendInput: key events carry the code, its scan code and the
// extended-key flag; mouse events carry the button flags and no movement.
#include <windows.h>

#include <vector>

#include "framework/Platform/KeyInput.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

class Win32KeyInputService : public KeyInputService {
public:
    std::uint32_t send(std::span<const InjectedInput> events) override {
        if (events.empty()) return 0;
        std::vector<INPUT> inputs(events.size());
        for (std::size_t i = 0; i < events.size(); ++i) {
            const InjectedInput& event = events[i];
            INPUT& input = inputs[i];
            input = INPUT{};
            if (event.kind == InjectedInput::Kind::Key) {
                input.type = INPUT_KEYBOARD;
                input.ki.wVk = static_cast<WORD>(event.virtualKey);
                input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(event.virtualKey), MAPVK_VK_TO_VSC));
                input.ki.dwFlags = (isExtendedKey(event.virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0) |
                                   (event.keyUp ? KEYEVENTF_KEYUP : 0);
            } else {
                input.type = INPUT_MOUSE;
                input.mi.dwFlags = event.mouseFlags;
                input.mi.mouseData = event.mouseData;
            }
        }
        return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
};

}  // namespace

std::unique_ptr<KeyInputService> Win32::makeKeyInputService() { return std::make_unique<Win32KeyInputService>(); }

}  // namespace Arbor::Platform
