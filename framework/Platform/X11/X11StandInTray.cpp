// The stand-in system tray of X11StandInTray.h.
#include "framework/Platform/X11/X11StandInTray.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "framework/Platform/X11/X11Headers.h"

namespace Arbor::Platform::X11::Inspection {

struct StandInTray::State {
    Display* display = nullptr;
    Window window = 0;
    int side = 24;
    std::atomic<bool> stopping{false};
    std::thread thread;
    mutable std::mutex mutex;
    std::vector<std::uint64_t> docked;

    void serve() {
        const Atom opcode = XInternAtom(display, "_NET_SYSTEM_TRAY_OPCODE", False);
        while (!stopping) {
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type != ClientMessage || event.xclient.message_type != opcode ||
                    event.xclient.data.l[1] != 0)
                    continue;
                const Window icon = Window(event.xclient.data.l[2]);
                std::size_t count = 0;
                {
                    std::lock_guard lock(mutex);
                    count = docked.size();
                    docked.push_back(icon);
                }
                // As trays do: take the icon in, give it the slot's size and show it.
                XReparentWindow(display, icon, window, int(count) * side, 0);
                XResizeWindow(display, icon, unsigned(side), unsigned(side));
                XMapWindow(display, icon);
                XSync(display, False);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
};

StandInTray::StandInTray() : state_(std::make_unique<State>()) {}

StandInTray::~StandInTray() { stop(); }

bool StandInTray::start(Point topLeft, int side) {
    stop();
    State& s = *state_;
    s.display = XOpenDisplay(nullptr);
    if (!s.display) return false;
    s.side = side;
    const int screen = DefaultScreen(s.display);
    const Window root = RootWindow(s.display, screen);
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    const Atom selection = XInternAtom(s.display, name.c_str(), False);
    if (XGetSelectionOwner(s.display, selection)) {
        stop();
        return false;
    }
    // Out of the window manager's hands, so that it stays where the test put it.
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0x00202020;
    s.window = XCreateWindow(s.display, root, topLeft.x, topLeft.y, unsigned(side * 4), unsigned(side), 0,
                             CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel,
                             &attributes);
    XMapRaised(s.display, s.window);
    XSetSelectionOwner(s.display, selection, s.window, CurrentTime);
    XEvent manager{};
    manager.xclient.type = ClientMessage;
    manager.xclient.window = root;
    manager.xclient.message_type = XInternAtom(s.display, "MANAGER", False);
    manager.xclient.format = 32;
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = long(selection);
    manager.xclient.data.l[2] = long(s.window);
    XSendEvent(s.display, root, False, StructureNotifyMask, &manager);
    XSync(s.display, False);
    s.stopping = false;
    s.thread = std::thread([&s] { s.serve(); });
    return true;
}

void StandInTray::stop() {
    State& s = *state_;
    s.stopping = true;
    if (s.thread.joinable()) s.thread.join();
    if (!s.display) return;
    // As trays do when they end: the icons go back to the root window, alive.
    for (std::uint64_t icon : docked()) XReparentWindow(s.display, Window(icon), DefaultRootWindow(s.display), 0, 0);
    if (s.window) XDestroyWindow(s.display, s.window);
    s.window = 0;
    XCloseDisplay(s.display);
    s.display = nullptr;
}

std::vector<std::uint64_t> StandInTray::docked() const {
    std::lock_guard lock(state_->mutex);
    return state_->docked;
}

}  // namespace Arbor::Platform::X11::Inspection
