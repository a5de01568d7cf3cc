// The state of keys and mouse buttons, asked of the server. Virtual-key codes map to
// key symbols through the table of X11KeyMap.cpp.
#include <X11/keysym.h>

#include "framework/Platform/Messages.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"
#include "framework/Platform/X11/X11KeyMap.h"

namespace Arbor::Platform::X11 {

namespace {

std::vector<KeySym> keySymsOf(int virtualKey) { return keySymsOfVirtualKey(virtualKey); }

}  // namespace

int virtualKeyOf(unsigned long keySym) {
    if (keySym >= XK_a && keySym <= XK_z) return static_cast<int>(keySym - XK_a + 'A');
    if ((keySym >= XK_A && keySym <= XK_Z) || (keySym >= XK_0 && keySym <= XK_9)) return static_cast<int>(keySym);
    if (keySym >= XK_F1 && keySym <= XK_F24) return static_cast<int>(0x70 + (keySym - XK_F1));
    // The named keys: the first code whose symbols hold it.
    for (int code = 0x03; code <= 0xFE; ++code) {
        if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 0x70 && code <= 0x87)) continue;
        for (KeySym symbol : keySymsOf(code)) {
            if (symbol == keySym) return code;
        }
    }
    return 0;
}

bool keyIsDown(int virtualKey) {
    X11Desktop& d = X11Desktop::instance();
    if (!d.connected()) return false;
    Display* display = d.display();
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON || virtualKey == VK_MBUTTON) {
        Window rootReturn = 0, child = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        if (!XQueryPointer(display, d.root(), &rootReturn, &child, &x, &y, &wx, &wy, &mask)) return false;
        const unsigned button = virtualKey == VK_LBUTTON ? Button1Mask : virtualKey == VK_RBUTTON ? Button3Mask : Button2Mask;
        return (mask & button) != 0;
    }
    const std::vector<KeySym> symbols = keySymsOf(virtualKey);
    if (symbols.empty()) return false;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (KeySym symbol : symbols) {
        const KeyCode code = XKeysymToKeycode(display, symbol);
        if (code != 0 && (keys[code / 8] & (1 << (code % 8)))) return true;
    }
    return false;
}

}  // namespace Arbor::Platform::X11
