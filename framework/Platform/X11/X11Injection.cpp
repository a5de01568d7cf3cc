#include "framework/Platform/X11/X11Injection.h"

#include <X11/keysym.h>

#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11::Inspection {

namespace {

Display* testDisplay() {
    X11Desktop& d = X11Desktop::instance();
    if (!d.connected()) return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    return XTestQueryExtension(d.display(), &event, &error, &major, &minor) ? d.display() : nullptr;
}

KeySym keySymOf(int virtualKey) {
    switch (virtualKey) {
        case 0x0D: return XK_Return;
        case 0x1B: return XK_Escape;
        case 0x20: return XK_space;
        case 0x25: return XK_Left;
        case 0x26: return XK_Up;
        case 0x27: return XK_Right;
        case 0x28: return XK_Down;
        default: return (virtualKey >= 'A' && virtualKey <= 'Z') ? static_cast<KeySym>('a' + (virtualKey - 'A')) : 0;
    }
}

}  // namespace

bool movePointer(int x, int y) {
    Display* display = testDisplay();
    if (!display) return false;
    XTestFakeMotionEvent(display, X11Desktop::instance().screen(), x, y, CurrentTime);
    XSync(display, False);
    return true;
}

bool pressButton(int button, bool down) {
    Display* display = testDisplay();
    if (!display) return false;
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), down ? True : False, CurrentTime);
    XSync(display, False);
    return true;
}

bool tapKey(int virtualKey) {
    Display* display = testDisplay();
    const KeySym symbol = keySymOf(virtualKey);
    if (!display || symbol == 0) return false;
    const KeyCode code = XKeysymToKeycode(display, symbol);
    if (code == 0) return false;
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
    return true;
}

}  // namespace Arbor::Platform::X11::Inspection
