// The state of keys and mouse buttons, asked of the server. Virtual-key codes map to
// key symbols for the keys a script may ask about: letters, digits, modifiers and the
// usual named keys.
#include <X11/keysym.h>

#include "framework/Platform/Messages.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11 {

namespace {

// Key symbols of a virtual-key code; 0 when it has none here.
std::vector<KeySym> keySymsOf(int virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return {static_cast<KeySym>(virtualKey)};  // Latin-1 symbols equal the codes
    }
    if (virtualKey >= 0x70 && virtualKey <= 0x87) return {static_cast<KeySym>(XK_F1 + (virtualKey - 0x70))};
    switch (virtualKey) {
        case 0x08: return {XK_BackSpace};
        case 0x09: return {XK_Tab};
        case 0x0D: return {XK_Return, XK_KP_Enter};
        case 0x10: return {XK_Shift_L, XK_Shift_R};
        case 0x11: return {XK_Control_L, XK_Control_R};
        case 0x12: return {XK_Alt_L, XK_Alt_R};
        case 0x1B: return {XK_Escape};
        case 0x20: return {XK_space};
        case 0x25: return {XK_Left};
        case 0x26: return {XK_Up};
        case 0x27: return {XK_Right};
        case 0x28: return {XK_Down};
        case 0x2E: return {XK_Delete};
        case 0xA0: return {XK_Shift_L};
        case 0xA1: return {XK_Shift_R};
        case 0xA2: return {XK_Control_L};
        case 0xA3: return {XK_Control_R};
        default: return {};
    }
}

}  // namespace

int virtualKeyOf(unsigned long keySym) {
    if (keySym >= XK_a && keySym <= XK_z) return static_cast<int>(keySym - XK_a + 'A');
    if ((keySym >= XK_A && keySym <= XK_Z) || (keySym >= XK_0 && keySym <= XK_9)) return static_cast<int>(keySym);
    if (keySym >= XK_F1 && keySym <= XK_F24) return static_cast<int>(0x70 + (keySym - XK_F1));
    // The named keys: the first code whose symbols hold it.
    for (int code = 0x08; code <= 0xA3; ++code) {
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
