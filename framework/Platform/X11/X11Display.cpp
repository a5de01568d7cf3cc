// The display connection. Xlib's header defines macros (None, Bool, Status, ...) that
// clash with the seam's names, so it is included only in files that need nothing else.
#include <X11/Xlib.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "framework/Platform/X11/X11Services.h"

namespace Arbor::Platform {

// Without DISPLAY no connection is tried at all (Xlib would fail the same way). The
// answer is kept for the display name: a round trip to a busy server costs a visible
// fraction of a second, and callers ask repeatedly.
bool X11::displayOpens() {
    static std::mutex mutex;
    static std::string checkedName;
    static bool checked = false;
    static bool opens = false;
    const char* name = std::getenv("DISPLAY");
    const std::string display = name ? name : "";
    std::lock_guard lock(mutex);
    if (checked && display == checkedName) return opens;
    opens = false;
    if (!display.empty()) {
        if (Display* connection = XOpenDisplay(display.c_str())) {
            XCloseDisplay(connection);
            opens = true;
        }
    }
    checked = true;
    checkedName = display;
    return opens;
}

}  // namespace Arbor::Platform
