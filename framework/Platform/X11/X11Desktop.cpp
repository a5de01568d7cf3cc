#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>

#include "framework/Platform/Messages.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11 {

namespace {

// Mouse-key flags of the wParam of mouse messages.
constexpr std::uintptr_t MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
                         MK_MBUTTON = 0x0010;
constexpr std::intptr_t HTCLIENT = 1;
constexpr int WHEEL_DELTA = 120;

// Xlib's default handlers end the process; a window that vanished under a request or a
// refused shared-memory attach is an answer here, not a reason to exit.
int recordError(Display*, XErrorEvent* error) {
    X11Desktop::lastFailedRequest().store(error->request_code);
    return 0;
}

// A lost display (the server ended) marks the desktop lost instead of ending the
// process; the event thread then stops and every service reports failure.
void onDisplayLost(Display*, void* desktop) {
    static_cast<X11Desktop*>(desktop)->markLost();
}

std::uintptr_t keyFlags(unsigned state) {
    std::uintptr_t flags = 0;
    if (state & Button1Mask) flags |= MK_LBUTTON;
    if (state & Button2Mask) flags |= MK_MBUTTON;
    if (state & Button3Mask) flags |= MK_RBUTTON;
    if (state & ShiftMask) flags |= MK_SHIFT;
    if (state & ControlMask) flags |= MK_CONTROL;
    return flags;
}

std::uintptr_t buttonFlag(unsigned button) {
    switch (button) {
        case Button1: return MK_LBUTTON;
        case Button2: return MK_MBUTTON;
        case Button3: return MK_RBUTTON;
        default: return 0;
    }
}

}  // namespace

X11Desktop& X11Desktop::instance() {
    // Never destroyed: windows and queues serve until the process ends.
    static X11Desktop* desktop = new X11Desktop();
    return *desktop;
}

std::uint32_t X11Desktop::ticks() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

X11Desktop::X11Desktop() : queues_(*this) {
    XInitThreads();
    display_ = XOpenDisplay(nullptr);
    events_ = display_ ? XOpenDisplay(nullptr) : nullptr;
    if (!events_) {
        if (display_) XCloseDisplay(display_);
        display_ = nullptr;
        return;
    }
    XSetErrorHandler(recordError);
    XSetIOErrorExitHandler(display_, onDisplayLost, this);
    XSetIOErrorExitHandler(events_, onDisplayLost, this);
    screen_ = DefaultScreen(display_);
    root_ = RootWindow(display_, screen_);

    const std::string cm = "_NET_WM_CM_S" + std::to_string(screen_);
    const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "_NET_WM_PING", "_NET_WM_NAME",
                           "UTF8_STRING", "_NET_WM_PID", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_UTILITY",
                           "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
                           "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_DESKTOP",
                           "_NET_WM_USER_TIME", "_NET_WM_WINDOW_OPACITY", "_MOTIF_WM_HINTS", "_NET_ACTIVE_WINDOW",
                           "_NET_CLIENT_LIST_STACKING", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP",
                           "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_STATE_MODAL", cm.c_str()};
    constexpr int count = sizeof names / sizeof names[0];
    static_assert(sizeof(Atoms) == count * sizeof(Atom));
    Atom interned[count] = {};
    XInternAtoms(display_, const_cast<char**>(names), count, False, interned);
    std::copy(interned, interned + count, reinterpret_cast<Atom*>(&atoms_));

    int major = 0, minor = 0;
    Bool pixmaps = False;
    hasShm_ = XShmQueryVersion(display_, &major, &minor, &pixmaps);
    int shapeEvent = 0, shapeError = 0;
    hasShape_ = XShapeQueryExtension(display_, &shapeEvent, &shapeError);
    int error = 0;
    hasRandr_ = XRRQueryExtension(events_, &randrEventBase_, &error) && XRRQueryVersion(events_, &major, &minor) &&
                (major > 1 || minor >= 5);
    hasFixes_ = XFixesQueryExtension(events_, &fixesEventBase_, &error);

    XVisualInfo info{};
    if (XMatchVisualInfo(display_, screen_, 32, TrueColor, &info)) argbVisual_ = info.visual;

    // Screen changes and the compositor's coming and going reach the event thread.
    if (hasRandr_) XRRSelectInput(events_, RootWindow(events_, screen_),
                                 RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    if (hasFixes_) {
        XFixesSelectSelectionInput(events_, RootWindow(events_, screen_), atoms_.compositorSelection,
                                   XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
    }
    XFlush(events_);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
    }
    eventThread_ = std::thread([this] { eventLoop(); });
    eventThread_.detach();
}

std::vector<long> readLongs(Display* display, Window xid, Atom property, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> result;
    if (XGetWindowProperty(display, xid, property, 0, 1 << 16, False, type, &actualType, &format, &items, &after,
                           &data) == Success &&
        data && format == 32 && actualType == type) {
        // Xlib hands 32-bit items as longs, whatever the size of long.
        const long* values = reinterpret_cast<const long*>(data);
        result.assign(values, values + items);
    }
    if (data) XFree(data);
    return result;
}

std::atomic<int>& X11Desktop::lastFailedRequest() {
    static std::atomic<int> request{0};
    return request;
}

void X11Desktop::markLost() { lost_.store(true); }

bool X11Desktop::compositorRunning() {
    int known = compositor_.load();
    if (known < 0) {
        known = XGetSelectionOwner(display_, atoms_.compositorSelection) != XNone ? 1 : 0;
        compositor_.store(known);
    }
    return known == 1;
}

WindowRecord* X11Desktop::find(WindowHandle window) {
    auto it = windows_.find(static_cast<Window>(window));
    return it == windows_.end() ? nullptr : &it->second;
}

void X11Desktop::wakeEvents() {
    if (wakeWrite_ < 0) return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite_, &byte, 1);
}

std::intptr_t X11Desktop::callProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
    WindowProcedure procedure;
    {
        auto guard = lock();
        const WindowRecord* record = find(window);
        if (!record) return 0;
        procedure = record->procedure;
    }
    if (procedure) {
        if (auto result = procedure(window, message, wParam, lParam)) return *result;
    }
    if (message == WM_CLOSE && destroyer_) destroyer_(window);
    return 0;
}

std::intptr_t X11Desktop::deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    return callProcedure(window, message, wParam, lParam);
}

void X11Desktop::resendShape(Window xid) {
    std::vector<XRectangle> rectangles;
    bool bounding = false;
    {
        auto guard = lock();
        WindowRecord* record = find(WindowHandle(xid));
        if (!record || !record->shapeSet) return;
        bounding = needsBoundingShape(*record);
        rectangles.reserve(record->shape.size());
        for (const Rect& r : record->shape) {
            rectangles.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                            static_cast<unsigned short>(r.width()),
                                            static_cast<unsigned short>(r.height())});
        }
    }
    XShapeCombineRectangles(display_, xid, ShapeInput, 0, 0, rectangles.data(), static_cast<int>(rectangles.size()),
                            ShapeSet, Unsorted);
    if (bounding) {
        XShapeCombineRectangles(display_, xid, ShapeBounding, 0, 0, rectangles.data(),
                                static_cast<int>(rectangles.size()), ShapeSet, Unsorted);
    }
    XFlush(display_);
}

bool X11Desktop::needsBoundingShape(const WindowRecord& record) {
    return !record.argb || !compositorRunning();
}

void X11Desktop::eventLoop() {
    const int connection = ConnectionNumber(events_);
    while (!lost_.load()) {
        while (!lost_.load() && XPending(events_) > 0) {
            XEvent event;
            XNextEvent(events_, &event);
            translate(event);
        }
        if (lost_.load()) break;
        pollfd fds[2] = {{connection, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        const int ready = ::poll(fds, wakeRead_ >= 0 ? 2 : 1, wakeRead_ >= 0 ? -1 : 50);
        if (ready > 0 && (fds[1].revents & POLLIN)) {
            char drain[64];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {
            }
        }
        if (ready > 0 && (fds[0].revents & (POLLHUP | POLLERR))) {
            XPending(events_);  // lets Xlib notice the lost connection
        }
    }
}

void X11Desktop::post(Window xid, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    ThreadId thread = 0;
    {
        auto guard = lock();
        const WindowRecord* record = find(WindowHandle(xid));
        if (!record || record->destroying) return;
        thread = record->thread;
    }
    queues_.post(thread, WindowHandle(xid), message, wParam, lParam);
}

void X11Desktop::postToAll(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::vector<std::pair<Window, ThreadId>> targets;
    {
        auto guard = lock();
        for (const auto& [xid, record] : windows_) targets.emplace_back(xid, record.thread);
    }
    for (const auto& [xid, thread] : targets) queues_.post(thread, WindowHandle(xid), message, wParam, lParam);
}

void X11Desktop::onButton(const XButtonEvent& event, bool press) {
    pointerX_.store(event.x_root);
    pointerY_.store(event.y_root);
    if (event.button == Button4 || event.button == Button5) {
        if (!press) return;
        // Up is away from the user: a positive delta, as wheels report on the system.
        const int delta = event.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
        const std::uintptr_t wParam =
            (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16) | keyFlags(event.state);
        post(event.window, WM_MOUSEWHEEL, wParam, makePointParam(event.x_root, event.y_root));
        return;
    }
    std::uint32_t down = 0;
    switch (event.button) {
        case Button1: down = WM_LBUTTONDOWN; break;
        case Button2: down = WM_MBUTTONDOWN; break;
        case Button3: down = WM_RBUTTONDOWN; break;
        default: return;  // side buttons and horizontal wheels are not translated
    }
    // The state holds the buttons down before this event.
    std::uintptr_t flags = keyFlags(event.state);
    flags = press ? (flags | buttonFlag(event.button)) : (flags & ~buttonFlag(event.button));
    const std::intptr_t where = makePointParam(event.x, event.y);
    if (!press) {
        post(event.window, down + 1, flags, where);  // ...BUTTONUP follows ...BUTTONDOWN
        return;
    }
    // A second press of the same button on the same window, soon and near enough, is
    // a double click; the press after that starts counting anew.
    const bool dbl = lastPress_.window == event.window && lastPress_.button == event.button &&
                     event.time - lastPress_.time <= doubleClickTime &&
                     std::abs(event.x_root - lastPress_.x) <= doubleClickDistance &&
                     std::abs(event.y_root - lastPress_.y) <= doubleClickDistance;
    if (dbl) {
        lastPress_ = LastPress{};
        post(event.window, down + 2, flags, where);  // ...BUTTONDBLCLK
    } else {
        lastPress_ = LastPress{event.window, event.button, event.time, event.x_root, event.y_root};
        post(event.window, down, flags, where);
    }
}

void X11Desktop::onConfigure(const XConfigureEvent& event) {
    auto guard = lock();
    WindowRecord* record = find(WindowHandle(event.window));
    if (!record) return;
    // Synthetic events (from the window manager) and events of windows still on the
    // root give screen coordinates; real events of framed windows give positions in
    // the frame, so only their size counts.
    if (event.send_event || !record->framed) {
        record->bounds = Rect{event.x, event.y, event.x + event.width, event.y + event.height};
    } else {
        record->bounds.right = record->bounds.left + event.width;
        record->bounds.bottom = record->bounds.top + event.height;
    }
}

void X11Desktop::translate(XEvent& event) {
    const auto type = event.type;
    if (hasRandr_ && type == randrEventBase_ + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&event);
        const auto& change = reinterpret_cast<const XRRScreenChangeNotifyEvent&>(event);
        postToAll(WM_DISPLAYCHANGE, 32, makePointParam(change.width, change.height));
        return;
    }
    if (hasRandr_ && type == randrEventBase_ + RRNotify) {
        // A monitor, output or mode changed: the screen's size may be the same.
        postToAll(WM_DISPLAYCHANGE, 32,
                  makePointParam(DisplayWidth(events_, screen_), DisplayHeight(events_, screen_)));
        return;
    }
    if (hasFixes_ && type == fixesEventBase_ + XFixesSelectionNotify) {
        const auto& change = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
        compositor_.store(change.owner != XNone ? 1 : 0);
        // Layered windows change visual: 32-bit for the compositor to blend, else the
        // default visual cut to the alpha. Making them again takes round trips and waits
        // for the window manager, whose events this thread must go on reading.
        if (void (*switcher)() = visualSwitcher_.load()) std::thread(switcher).detach();
        return;
    }
    switch (type) {
        case ButtonPress:
        case ButtonRelease:
            onButton(event.xbutton, type == ButtonPress);
            break;
        case MotionNotify: {
            pointerX_.store(event.xmotion.x_root);
            pointerY_.store(event.xmotion.y_root);
            // Only the newest position of a burst matters.
            XEvent next;
            while (XCheckTypedWindowEvent(events_, event.xmotion.window, MotionNotify, &next)) event = next;
            const auto& motion = event.xmotion;
            post(motion.window, WM_SETCURSOR, motion.window, HTCLIENT | (std::intptr_t(WM_MOUSEMOVE) << 16));
            post(motion.window, WM_MOUSEMOVE, keyFlags(motion.state), makePointParam(motion.x, motion.y));
            break;
        }
        case EnterNotify:
            pointerWindow_.store(event.xcrossing.window);
            pointerX_.store(event.xcrossing.x_root);
            pointerY_.store(event.xcrossing.y_root);
            post(event.xcrossing.window, WM_SETCURSOR, event.xcrossing.window,
                 HTCLIENT | (std::intptr_t(WM_MOUSEMOVE) << 16));
            break;
        case LeaveNotify:
            if (pointerWindow_.load() == event.xcrossing.window) pointerWindow_.store(0);
            break;
        case KeyPress:
        case KeyRelease: {
            // Key messages carry the virtual key, a repeat count of 1, the key code as
            // the scan code, and for a release the previous-state and transition bits.
            const int key = virtualKeyOf(XLookupKeysym(&event.xkey, 0));
            if (key == 0) break;
            const bool up = type == KeyRelease;
            const std::intptr_t lParam = static_cast<std::intptr_t>(
                1u | ((event.xkey.keycode & 0xFFu) << 16) | (up ? 0xC0000000u : 0u));
            post(event.xkey.window, up ? WM_KEYUP : WM_KEYDOWN, static_cast<std::uintptr_t>(key), lParam);
            break;
        }
        case ClientMessage:
            if (event.xclient.message_type == atoms_.wmProtocols) {
                const Atom protocol = static_cast<Atom>(event.xclient.data.l[0]);
                if (protocol == atoms_.wmDeleteWindow) {
                    post(event.xclient.window, WM_CLOSE, 0, 0);
                } else if (protocol == atoms_.netWmPing) {
                    // Answered at once: the window manager asks whether we still live.
                    XEvent reply = event;
                    reply.xclient.window = root_;
                    XSendEvent(display_, root_, False, SubstructureNotifyMask | SubstructureRedirectMask, &reply);
                    XFlush(display_);
                }
            }
            break;
        case ConfigureNotify:
            onConfigure(event.xconfigure);
            break;
        case ReparentNotify: {
            {
                auto guard = lock();
                WindowRecord* record = find(WindowHandle(event.xreparent.window));
                if (record) record->framed = event.xreparent.parent != root_;
            }
            resendShape(event.xreparent.window);
            break;
        }
        case MapNotify:
            // A window manager copies the input shape to its frame only when it changes
            // after it took the window: send it again now.
            resendShape(event.xmap.window);
            break;
        default:
            break;
    }
}

}  // namespace Arbor::Platform::X11
