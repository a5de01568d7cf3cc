// The display connection. Xlib's header defines macros (None, Bool, Status, ...) that
// clash with the seam's names, so it is included only in files that need nothing else.
#include <X11/Xlib.h>

#include <cstdlib>

#include "framework/Platform/X11/X11Services.h"

namespace Arbor::Platform {

// Without DISPLAY no connection is tried at all (Xlib would fail the same way).
bool X11::displayOpens() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

}  // namespace Arbor::Platform
