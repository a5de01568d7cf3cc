// The display connection. Xlib's header defines macros (None, Bool, Status, ...) that
// clash with the seam's names, so it is included only in files that need nothing else.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "framework/Platform/X11/X11Services.h"

namespace Arbor::Platform {

// Without DISPLAY no connection is tried at all (Xlib would fail the same way). The
// answer is kept for the display name: a round trip to a busy server costs a visible
// fraction of a second, and callers ask repeatedly.
//
// The probe's connection stays open while that display is the one asked about. Closed
// at once, it could be the server's last client: a server that resets then (a bare
// X server with no window manager) hangs up the connection the desktop opens next.
bool X11::displayOpens() {
    static std::mutex mutex;
    static std::string checkedName;
    static bool checked = false;
    static bool opens = false;
    static Display* probe = nullptr;
    const char* name = std::getenv("DISPLAY");
    const std::string display = name ? name : "";
    std::lock_guard lock(mutex);
    if (checked && display == checkedName) return opens;
    opens = false;
    Display* previous = probe;
    probe = nullptr;
    // A server that is resetting (its last client just left) refuses connections for
    // a moment: two more tries before the display counts as absent.
    for (int attempt = 0; !display.empty() && !probe && attempt < 3; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        probe = XOpenDisplay(display.c_str());
    }
    opens = probe != nullptr;
    if (previous) XCloseDisplay(previous);
    checked = true;
    checkedName = display;
    return opens;
}

}  // namespace Arbor::Platform
