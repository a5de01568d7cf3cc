// Windows of the X11 desktop. Every window is a managed top-level window: the window
// manager keeps it on top, on every workspace and out of task bars as asked, which an
// override-redirect window would not get (and it would cover lockers and full-screen
// programs). Layered windows take a 32-bit ARGB visual while a compositor runs, and the
// default visual with a one-bit shape cut from the alpha otherwise.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <cstdio>
#include <cstring>

#include "framework/Platform/Cursor.h"
#include "framework/Platform/DibSection.h"
#include "framework/Platform/InputShape.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Text/Utf.h"
#include "framework/Platform/X11/X11Desktop.h"
#include "framework/Platform/X11/X11DibSection.h"

namespace Arbor::Platform::X11 {

namespace {

constexpr long kStateRemove = 0, kStateAdd = 1;
constexpr int kCreateWindowRequest = 1;  // the protocol's CreateWindow opcode

// The windows of this process listen to what the message vocabulary needs.
constexpr long kEventMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;

X11Desktop& desktop() { return X11Desktop::instance(); }
Window xidOf(WindowHandle window) { return static_cast<Window>(window); }
WindowHandle handleOf(Window xid) { return static_cast<WindowHandle>(xid); }

bool takesNoFocus(std::uint32_t exStyle) {
    return (exStyle & WS_EX_NOACTIVATE) || ((exStyle & WS_EX_LAYERED) && (exStyle & WS_EX_TOOLWINDOW));
}

// A window's width or height as the protocol carries it: 1 ... 32767 (an empty
// window is not possible; it stays 1 x 1 and keeps the asked bounds).
unsigned windowExtent(int extent) { return static_cast<unsigned>(std::clamp(extent, 1, 32767)); }

void setCardinal(Display* display, Window xid, Atom property, unsigned long value) {
    const long data = static_cast<long>(value);
    XChangeProperty(display, xid, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&data), 1);
}

void setAtoms(Display* display, Window xid, Atom property, const std::vector<Atom>& values) {
    XChangeProperty(display, xid, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()), static_cast<int>(values.size()));
}

void setTitleProperties(Display* display, Window xid, std::u16string_view title) {
    const std::string utf8 = Text::toUtf8(title);
    const Atoms& atoms = desktop().atoms();
    XChangeProperty(display, xid, atoms.netWmName, atoms.utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    // The old property too, typed UTF8_STRING as is usual now: typed STRING it would
    // promise Latin-1 and show a non-Latin title garbled.
    XChangeProperty(display, xid, XA_WM_NAME, atoms.utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
}

// A property of another client's window as bytes; empty when missing.
std::vector<unsigned char> readProperty(Display* display, Window xid, Atom property, Atom type, int& format,
                                        unsigned long& items) {
    Atom actualType = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    items = 0;
    format = 0;
    if (XGetWindowProperty(display, xid, property, 0, 1 << 16, False, type, &actualType, &format, &items, &after,
                           &data) != Success ||
        !data) {
        return {};
    }
    std::size_t bytes = items * (format == 32 ? sizeof(long) : std::size_t(format / 8));
    std::vector<unsigned char> copy(data, data + bytes);
    XFree(data);
    return copy;
}

// The window's state list while it is withdrawn; a message to the root (which the
// window manager acts on) once it is mapped.
void changeState(WindowRecord& record, Atom state, bool on) {
    Display* display = desktop().display();
    const Atoms& atoms = desktop().atoms();
    if (!record.visible) {
        std::vector<Atom> states{atoms.netWmStateSkipTaskbar, atoms.netWmStateSkipPager};
        if (record.exStyle & WS_EX_TOPMOST) states.push_back(atoms.netWmStateAbove);
        setAtoms(display, record.xid, atoms.netWmState, states);
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = record.xid;
    event.xclient.message_type = atoms.netWmState;
    event.xclient.format = 32;
    event.xclient.data.l[0] = on ? kStateAdd : kStateRemove;
    event.xclient.data.l[1] = static_cast<long>(state);
    event.xclient.data.l[3] = 1;  // from a normal application
    XSendEvent(display, desktop().root(), False, SubstructureNotifyMask | SubstructureRedirectMask, &event);
}

void setInputHint(Display* display, Window xid, bool input) {
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = input ? True : False;
    hints.initial_state = NormalState;
    XSetWMHints(display, xid, &hints);
}

void setPositionHints(Display* display, Window xid, const Rect& bounds) {
    // Without the position flags a window manager picks its own place.
    XSizeHints hints{};
    hints.flags = USPosition | PPosition | USSize | PSize;
    hints.x = bounds.left;
    hints.y = bounds.top;
    hints.width = std::max(1, bounds.width());
    hints.height = std::max(1, bounds.height());
    XSetWMNormalHints(display, xid, &hints);
}

// Makes the X window of a top-level window on the event connection (messages sent to a
// window without an event mask, the manager's close request and ping, reach the client
// that created it) and selects its input; `reuse`, when not 0, is the id it takes. 0
// when the server refuses.
Window makeXWindow(bool layered, bool argb, const Rect& b, Window reuse, Visual*& visual, int& depth,
                   Colormap& colormap) {
    X11Desktop& d = desktop();
    Display* display = d.display();
    XSetWindowAttributes attributes{};
    unsigned long mask = CWBitGravity | CWBorderPixel;
    attributes.bit_gravity = NorthWestGravity;
    attributes.border_pixel = 0;
    visual = DefaultVisual(display, d.screen());
    depth = DefaultDepth(display, d.screen());
    colormap = 0;
    if (argb) {
        // A visual other than the root's needs its own colormap and a border pixel,
        // or the server refuses the window (BadMatch).
        visual = d.argbVisual();
        depth = 32;
        colormap = XCreateColormap(d.events(), d.root(), visual, AllocNone);
        attributes.colormap = colormap;
        attributes.background_pixel = 0;
        mask |= CWColormap | CWBackPixel;
    } else if (layered) {
        attributes.background_pixmap = XNone;  // nothing drawn until the first present
        mask |= CWBackPixmap;
    } else {
        attributes.background_pixel = WhitePixel(display, d.screen());
        mask |= CWBackPixel;
    }
    X11Desktop::lastFailedRequest().store(0);
    const Window xid =
        reuse ? createWindowWithId(d.events(), reuse, d.root(), b.left, b.top, windowExtent(b.width()),
                                   windowExtent(b.height()), depth, visual, mask, &attributes)
              : XCreateWindow(d.events(), d.root(), b.left, b.top, windowExtent(b.width()), windowExtent(b.height()),
                              0, depth, InputOutput, visual, mask, &attributes);
    XSelectInput(d.events(), xid, kEventMask);
    // The request connection may name the window once the server made it; the round
    // trip may have queued events, which the event thread must hear of.
    XSync(d.events(), False);
    d.wakeEvents();
    // The server reports a refused window only as an error to the round trip.
    if (!xid || X11Desktop::lastFailedRequest().load() == kCreateWindowRequest) {
        if (colormap) XFreeColormap(d.events(), colormap);
        colormap = 0;
        XFlush(d.events());
        return 0;
    }
    return xid;
}

class X11WindowService final : public WindowService {
public:
    X11WindowService() {
        desktop().setDestroyer(&destroyWindow);
        desktop().setVisualSwitcher(&switchVisuals);
    }

    WindowHandle create(const WindowDescription& description) override {
        X11Desktop& d = desktop();
        if (!d.connected()) return WindowHandle::None;
        Display* display = d.display();
        const bool layered = description.exStyle & WS_EX_LAYERED;
        const bool argb = layered && d.compositorRunning() && d.argbVisual();
        if (layered && !argb && d.hasShape()) warnNoCompositorOnce();

        const Rect& b = description.bounds;
        Visual* visual = nullptr;
        int depth = 0;
        Colormap colormap = 0;
        const Window xid = makeXWindow(layered, argb, b, 0, visual, depth, colormap);
        if (!xid) return WindowHandle::None;

        WindowRecord record;
        record.xid = xid;
        record.procedure = description.procedure;
        record.thread = X11Desktop::currentThreadId();
        record.title = description.title;
        record.bounds = b;
        record.style = description.style & ~WS_VISIBLE;
        record.exStyle = description.exStyle;
        record.owner = description.owner;
        record.argb = argb;
        record.depth = depth;
        record.visual = visual;
        record.colormap = colormap;
        record.gc = XCreateGC(display, xid, 0, nullptr);
        describeToWindowManager(record);
        {
            auto guard = d.lock();
            d.records()[xid] = record;
        }
        XFlush(display);

        if (d.callProcedure(handleOf(xid), WM_CREATE, 0, 0) == -1) {
            destroy(handleOf(xid));
            return WindowHandle::None;
        }
        if (description.style & WS_VISIBLE) show(handleOf(xid), true, false);
        return handleOf(xid);
    }

    bool destroy(WindowHandle window) override { return destroyWindow(window); }

    bool exists(WindowHandle window) override {
        auto guard = desktop().lock();
        return desktop().find(window) != nullptr;
    }

    bool setTitle(WindowHandle window, std::u16string_view title) override {
        auto guard = desktop().lock();
        WindowRecord* record = desktop().find(window);
        if (!record) return false;
        record->title = title;
        setTitleProperties(desktop().display(), record->xid, title);
        XFlush(desktop().display());
        return true;
    }

    std::u16string title(WindowHandle window, std::size_t maxLength) override {
        std::u16string text;
        {
            auto guard = desktop().lock();
            if (WindowRecord* record = desktop().find(window)) {
                text = record->title;
            } else {
                guard.unlock();
                text = foreignTitle(xidOf(window));
            }
        }
        if (text.size() > maxLength) text.resize(maxLength);
        return text;
    }

    bool show(WindowHandle window, bool visible, bool activate) override {
        X11Desktop& d = desktop();
        Display* display = d.display();
        auto guard = d.lock();
        WindowRecord* record = d.find(window);
        if (!record) return false;
        if (record->visible == visible) return true;
        record->visible = visible;
        if (visible) {
            // A window shown without activation asks the manager not to focus it.
            if (!activate || takesNoFocus(record->exStyle)) setCardinal(display, record->xid, d.atoms().netWmUserTime, 0);
            setPositionHints(display, record->xid, record->bounds);
            XMapWindow(display, record->xid);
        } else {
            // Withdrawn, so that the manager forgets it until it is shown again.
            XWithdrawWindow(display, record->xid, d.screen());
        }
        XFlush(display);
        guard.unlock();
        if (visible && activate) setForeground(window);
        return true;
    }

    bool isVisible(WindowHandle window) override {
        auto guard = desktop().lock();
        if (WindowRecord* record = desktop().find(window)) return record->visible;
        guard.unlock();
        XWindowAttributes attributes{};
        return XGetWindowAttributes(desktop().display(), xidOf(window), &attributes) &&
               attributes.map_state == IsViewable;
    }

    bool setBounds(WindowHandle window, const Rect& bounds) override {
        auto guard = desktop().lock();
        WindowRecord* record = desktop().find(window);
        if (!record) return false;
        moveResize(*record, bounds);
        XFlush(desktop().display());
        return true;
    }

    std::optional<Rect> bounds(WindowHandle window) override {
        {
            auto guard = desktop().lock();
            if (WindowRecord* record = desktop().find(window)) return record->bounds;
        }
        Display* display = desktop().display();
        XWindowAttributes attributes{};
        Window child = 0;
        int x = 0, y = 0;
        if (!desktop().connected() || !XGetWindowAttributes(display, xidOf(window), &attributes) ||
            !XTranslateCoordinates(display, xidOf(window), desktop().root(), 0, 0, &x, &y, &child)) {
            return std::nullopt;
        }
        return Rect{x, y, x + attributes.width, y + attributes.height};
    }

    bool setZOrder(WindowHandle window, ZOrder where) override {
        X11Desktop& d = desktop();
        Display* display = d.display();
        auto guard = d.lock();
        WindowRecord* record = d.find(window);
        if (!record) return false;
        const Window xid = record->xid;
        switch (where) {
            case ZOrder::Top:
                XRaiseWindow(display, xid);
                guard.unlock();
                awaitStacking(xid, true);
                return true;
            case ZOrder::Bottom:
                XLowerWindow(display, xid);
                guard.unlock();
                awaitStacking(xid, false);
                return true;
            case ZOrder::Topmost:
            case ZOrder::NoTopmost: {
                const bool on = where == ZOrder::Topmost;
                record->exStyle = on ? (record->exStyle | WS_EX_TOPMOST) : (record->exStyle & ~WS_EX_TOPMOST);
                changeState(*record, d.atoms().netWmStateAbove, on);
                XRaiseWindow(display, record->xid);
                break;
            }
        }
        XFlush(display);
        return true;
    }

    bool placeBelow(WindowHandle window, WindowHandle above) override {
        X11Desktop& d = desktop();
        auto guard = d.lock();
        WindowRecord* record = d.find(window);
        if (!record || window == above) return false;
        // Managed windows are children of their frames, not siblings: the request goes
        // to the manager the way the conventions describe (a restack of siblings where
        // no manager runs).
        XWindowChanges changes{};
        changes.sibling = xidOf(above);
        changes.stack_mode = Below;
        const bool done = XReconfigureWMWindow(d.display(), record->xid, d.screen(), CWSibling | CWStackMode, &changes);
        XFlush(d.display());
        guard.unlock();
        if (done) awaitBelow(xidOf(window), xidOf(above));
        return done;
    }

    bool isTopmost(WindowHandle window) override { return exStyle(window) & WS_EX_TOPMOST; }

    WindowHandle owner(WindowHandle window) override {
        auto guard = desktop().lock();
        WindowRecord* record = desktop().find(window);
        return record ? record->owner : WindowHandle::None;
    }

    bool setOwner(WindowHandle window, WindowHandle owner) override {
        auto guard = desktop().lock();
        WindowRecord* record = desktop().find(window);
        if (!record || window == owner) return false;
        record->owner = owner;
        if (owner == WindowHandle::None) {
            XDeleteProperty(desktop().display(), record->xid, XA_WM_TRANSIENT_FOR);
        } else {
            XSetTransientForHint(desktop().display(), record->xid, xidOf(owner));
        }
        XFlush(desktop().display());
        return true;
    }

    WindowHandle parent(WindowHandle window) override { return owner(window); }

    std::uint32_t exStyle(WindowHandle window) override {
        auto guard = desktop().lock();
        WindowRecord* record = desktop().find(window);
        return record ? record->exStyle : 0;
    }

    bool setExStyle(WindowHandle window, std::uint32_t exStyle) override {
        auto guard = desktop().lock();
        WindowRecord* record = desktop().find(window);
        if (!record) return false;
        const std::uint32_t before = record->exStyle;
        record->exStyle = exStyle;
        Display* display = desktop().display();
        if ((before ^ exStyle) & WS_EX_TOPMOST) changeState(*record, desktop().atoms().netWmStateAbove, exStyle & WS_EX_TOPMOST);
        setInputHint(display, record->xid, !takesNoFocus(exStyle));
        XFlush(display);
        return true;
    }

    bool setForeground(WindowHandle window) override {
        X11Desktop& d = desktop();
        if (!d.connected()) return false;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = xidOf(window);
        event.xclient.message_type = d.atoms().netActiveWindow;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;  // from a normal application
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(d.display(), d.root(), False, SubstructureNotifyMask | SubstructureRedirectMask, &event);
        XRaiseWindow(d.display(), xidOf(window));
        XFlush(d.display());
        return true;
    }

    // The window the manager says is active; where no manager says, the window with the
    // keyboard focus (its top-level window).
    WindowHandle foregroundWindow() override {
        X11Desktop& d = desktop();
        if (!d.connected()) return WindowHandle::None;
        Display* display = d.display();
        const std::vector<long> active = readLongs(display, d.root(), d.atoms().netActiveWindow, XA_WINDOW);
        if (!active.empty()) return handleOf(static_cast<Window>(active[0]));
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        if (focus == XNone || focus == PointerRoot || focus == d.root()) return WindowHandle::None;
        for (;;) {
            Window rootReturn = 0, parent = 0;
            Window* list = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display, focus, &rootReturn, &parent, &list, &count)) return WindowHandle::None;
            if (list) XFree(list);
            if (parent == d.root() || parent == 0) break;
            focus = parent;
        }
        const Window client = clientOf(display, focus);
        return client ? handleOf(client) : WindowHandle::None;
    }

    bool presentLayered(WindowHandle window, const DibSection& surface, const Rect& bounds,
                        std::uint8_t opacity) override {
        X11Desktop& d = desktop();
        const int width = bounds.width(), height = bounds.height();
        if (width <= 0 || height <= 0 || width > surface.width() || height > surface.height()) return false;
        Display* display = d.display();
        auto guard = d.lock();
        WindowRecord* record = d.find(window);
        if (!record || !(record->exStyle & WS_EX_LAYERED) || !d.connected()) return false;
        if (record->bounds != bounds) moveResize(*record, bounds);
        if (record->opacity != opacity) {
            record->opacity = opacity;
            if (opacity == 255) {
                XDeleteProperty(display, record->xid, d.atoms().netWmWindowOpacity);
            } else {
                setCardinal(display, record->xid, d.atoms().netWmWindowOpacity, opacity * 0x01010101UL);
            }
        }
        if (!record->picture || record->pictureWidth != width || record->pictureHeight != height) {
            if (record->picture) XFreePixmap(display, record->picture);
            record->picture = XCreatePixmap(display, record->xid, static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), static_cast<unsigned>(record->depth));
            record->pictureWidth = width;
            record->pictureHeight = height;
            XSetWindowBackgroundPixmap(display, record->xid, record->picture);
        }
        const auto* shared = dynamic_cast<const X11DibSection*>(&surface);
        XImage* image = shared && d.hasShm() ? shared->sharedImage(display, record->visual, record->depth) : nullptr;
        if (image) {
            XShmPutImage(display, record->picture, record->gc, image, 0, 0, 0, 0, static_cast<unsigned>(width),
                         static_cast<unsigned>(height), False);
        } else {
            // Premultiplied 0xAARRGGBB words in memory order: on a little-endian client
            // that is the server's 32-bit ZPixmap with the blue byte first. Xlib swaps
            // for a server of the other order, since the image says which it is.
            XImage* plain = XCreateImage(display, record->visual, static_cast<unsigned>(record->depth), ZPixmap, 0,
                                         reinterpret_cast<char*>(surface.bits()), static_cast<unsigned>(surface.width()),
                                         static_cast<unsigned>(surface.height()), 32, surface.width() * 4);
            if (!plain) return false;
            plain->byte_order = LSBFirst;
            XPutImage(display, record->picture, record->gc, plain, 0, 0, 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
            plain->data = nullptr;
            XDestroyImage(plain);
        }
        XClearWindow(display, record->xid);  // repaints from the new background
        keepFrame(*record, surface, width, height);
        // The caller draws the next frame into the same memory: the server must have
        // read it first.
        XSync(display, False);
        return true;
    }

    bool setInputShapeFromAlpha(WindowHandle window, const DibSection& surface, int width, int height) override {
        if (width <= 0 || height <= 0 || width > surface.width() || height > surface.height()) return false;
        // The pixel pass reads only the caller's surface: done before taking the lock.
        std::vector<Rect> shape = opaqueRegion(surface.bits(), width, height, surface.width());
        auto guard = desktop().lock();
        WindowRecord* record = desktop().find(window);
        if (!record) return false;
        updateShape(*record, std::move(shape), width, height);
        XFlush(desktop().display());
        return true;
    }

    bool setCapture(WindowHandle window) override {
        X11Desktop& d = desktop();
        WindowHandle previous = WindowHandle::None;
        {
            auto guard = d.lock();
            WindowRecord* record = d.find(window);
            if (!record || record->thread != X11Desktop::currentThreadId()) return false;
            previous = d.capture();
        }
        // The grab belongs to the connection that reads the events, so the grabbed
        // events arrive where the event thread reads them.
        const int status = XGrabPointer(d.events(), xidOf(window), False,
                                        ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                                        GrabModeAsync, XNone, XNone, CurrentTime);
        d.wakeEvents();
        // A window not on the screen holds the capture without a grab, as on the
        // system; only a grab refused for another reason fails.
        if (status != GrabSuccess && status != GrabNotViewable) return false;
        d.setCaptureWindow(xidOf(window));
        if (previous != WindowHandle::None && previous != window) {
            d.callProcedure(previous, WM_CAPTURECHANGED, 0, static_cast<std::intptr_t>(xidOf(window)));
        }
        return true;
    }

    bool releaseCapture() override {
        X11Desktop& d = desktop();
        const WindowHandle previous = d.capture();
        XUngrabPointer(d.events(), CurrentTime);
        XFlush(d.events());
        d.setCaptureWindow(0);
        if (previous != WindowHandle::None) d.callProcedure(previous, WM_CAPTURECHANGED, 0, 0);
        return true;
    }

    WindowHandle capture() override {
        X11Desktop& d = desktop();
        const WindowHandle holder = d.capture();
        auto guard = d.lock();
        WindowRecord* record = d.find(holder);
        return record && record->thread == X11Desktop::currentThreadId() ? holder : WindowHandle::None;
    }

    bool setCursor(const NativeCursor* cursor) override {
        X11Desktop& d = desktop();
        if (!d.connected()) return false;
        Window target = d.pointerWindow();
        // Nothing of ours under the pointer: its window sets the shape when it enters.
        if (!target) return true;
        Cursor shape = cursor ? static_cast<Cursor>(reinterpret_cast<std::uintptr_t>(cursor->handle())) : blankCursor();
        if (shape) {
            XDefineCursor(d.display(), target, shape);
        } else {
            XUndefineCursor(d.display(), target);
        }
        XFlush(d.display());
        return true;
    }

    bool isKeyDown(int virtualKey) override { return keyIsDown(virtualKey); }

    // The server's stacking of the root's children, top first, each frame of the
    // window manager standing for the client window inside it; within that order the
    // topmost band comes first, as the system lists it (the manager keeps the band on
    // screen, but withdrawn windows have no place in it yet).
    std::vector<WindowHandle> topLevelWindows() override {
        X11Desktop& d = desktop();
        std::vector<WindowHandle> result;
        if (!d.connected()) return result;
        Display* display = d.display();
        (void)display;
        std::vector<Window> order = stacking();
        std::reverse(order.begin(), order.end());
        std::vector<WindowHandle> plain;
        auto guard = d.lock();
        for (Window xid : order) {
            WindowRecord* record = d.find(handleOf(xid));
            if (record && (record->exStyle & WS_EX_TOPMOST)) {
                result.push_back(handleOf(xid));
            } else {
                plain.push_back(handleOf(xid));
            }
        }
        result.insert(result.end(), plain.begin(), plain.end());
        return result;
    }

    std::uint32_t processIdOf(WindowHandle window) override {
        {
            auto guard = desktop().lock();
            if (desktop().find(window)) return static_cast<std::uint32_t>(getpid());
        }
        if (!desktop().connected()) return 0;
        int format = 0;
        unsigned long items = 0;
        auto pid = readProperty(desktop().display(), xidOf(window), desktop().atoms().netWmPid, XA_CARDINAL, format, items);
        if (format != 32 || items < 1) return 0;
        return static_cast<std::uint32_t>(*reinterpret_cast<const long*>(pid.data()));
    }

    ThreadId threadIdOf(WindowHandle window) override {
        auto guard = desktop().lock();
        WindowRecord* record = desktop().find(window);
        return record ? record->thread : 0;
    }

private:
    static void keepFrame(WindowRecord& record, const DibSection& surface, int width, int height) {
        record.frame.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* row = surface.bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(surface.width());
            std::copy(row, row + width, record.frame.begin() + static_cast<std::ptrdiff_t>(y) * width);
        }
        record.frameWidth = width;
        record.frameHeight = height;
    }

    // Lock held. The kept frame as the window's background picture.
    static void restorePicture(WindowRecord& record) {
        Display* display = desktop().display();
        record.picture = 0;
        record.pictureWidth = record.pictureHeight = 0;
        if (record.frame.empty()) return;
        const unsigned width = static_cast<unsigned>(record.frameWidth), height = static_cast<unsigned>(record.frameHeight);
        XImage* image = XCreateImage(display, record.visual, static_cast<unsigned>(record.depth), ZPixmap, 0,
                                     reinterpret_cast<char*>(record.frame.data()), width, height, 32,
                                     record.frameWidth * 4);
        if (!image) return;
        image->byte_order = LSBFirst;
        record.picture = XCreatePixmap(display, record.xid, width, height, static_cast<unsigned>(record.depth));
        record.pictureWidth = record.frameWidth;
        record.pictureHeight = record.frameHeight;
        XPutImage(display, record.picture, record.gc, image, 0, 0, 0, 0, width, height);
        image->data = nullptr;
        XDestroyImage(image);
        XSetWindowBackgroundPixmap(display, record.xid, record.picture);
    }

    // Lock held. Makes the window again, under the same id, with the 32-bit visual or the
    // default one: the same place, size, properties, picture and shapes; shown again if
    // it was shown. False when the server refused the new window (the record is gone).
    static bool remake(WindowRecord& record, bool argb) {
        X11Desktop& d = desktop();
        Display* display = d.display();
        const Window xid = record.xid;
        XSelectInput(d.events(), xid, NoEventMask);
        XFlush(d.events());
        if (record.gc) XFreeGC(display, record.gc);
        if (record.picture) XFreePixmap(display, record.picture);
        XDestroyWindow(display, xid);
        if (record.colormap) XFreeColormap(display, record.colormap);
        // The id is free once the server has destroyed the window.
        XSync(display, False);
        record.gc = nullptr;
        record.picture = 0;
        record.colormap = 0;
        record.framed = false;
        Visual* visual = nullptr;
        int depth = 0;
        Colormap colormap = 0;
        if (makeXWindow(true, argb, record.bounds, xid, visual, depth, colormap) != xid) return false;
        record.argb = argb;
        record.visual = visual;
        record.depth = depth;
        record.colormap = colormap;
        record.gc = XCreateGC(display, xid, 0, nullptr);
        describeToWindowManager(record);
        if (takesNoFocus(record.exStyle)) setCardinal(display, xid, d.atoms().netWmUserTime, 0);
        if (record.opacity != 255) {
            setCardinal(display, xid, d.atoms().netWmWindowOpacity, record.opacity * 0x01010101UL);
        }
        restorePicture(record);
        if (record.shapeSet) {
            record.shapeSet = false;  // sends it again
            updateShape(record, record.shape, record.shapeWidth, record.shapeHeight);
        }
        if (record.visible) XMapWindow(display, xid);
        XFlush(display);
        return true;
    }

    // Called when a compositor starts or stops: every layered window takes the visual that
    // suits now, keeping its place in the stacking.
    static void switchVisuals() {
        static std::mutex switching;
        std::lock_guard serial(switching);
        X11Desktop& d = desktop();
        if (!d.connected()) return;
        const bool argb = d.compositorRunning() && d.argbVisual() != nullptr;
        // The windows on the screen, top first: a window that is not shown (a
        // compositor's own, say) is no place to restack against.
        std::vector<Window> order;
        for (Window xid : stacking()) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(d.display(), xid, &attributes) && attributes.map_state == IsViewable) {
                order.push_back(xid);
            }
        }
        std::reverse(order.begin(), order.end());
        // The manager lets go of the shown windows first (withdrawn, as when hidden), so
        // that it takes the new window under the old id as a window of its own.
        std::vector<Window> changing, remade, lost;
        {
            auto guard = d.lock();
            for (auto& [xid, record] : d.records()) {
                if (!(record.exStyle & WS_EX_LAYERED) || record.destroying || record.argb == argb) continue;
                changing.push_back(xid);
                if (record.visible) XWithdrawWindow(d.display(), xid, d.screen());
            }
            XFlush(d.display());
        }
        if (changing.empty()) return;
        awaitRecords(changing, [](const WindowRecord& record) { return !record.framed; });
        {
            auto guard = d.lock();
            for (Window xid : changing) {
                WindowRecord* record = d.find(handleOf(xid));
                if (!record || record->destroying) continue;
                if (remake(*record, argb)) {
                    remade.push_back(xid);
                } else {
                    lost.push_back(xid);
                }
            }
        }
        if (!argb && !remade.empty() && d.hasShape()) warnNoCompositorOnce();
        // A window the server would not make again is gone, as if destroyed.
        for (Window xid : lost) {
            std::fprintf(stderr, "tavizo: a window could not be made again with the new visual\n");
            destroyWindow(handleOf(xid));
        }
        if (remade.empty()) return;
        // The manager takes the shown windows anew, at the top of their band: once it
        // has, each goes back below the window that was above it, from the top down.
        awaitRecords(remade, [](const WindowRecord& record) { return !record.visible || record.framed; });
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (std::find(remade.begin(), remade.end(), order[i]) == remade.end()) continue;
            {
                auto guard = d.lock();
                const WindowRecord* record = d.find(handleOf(order[i]));
                if (!record || !record->visible) continue;
            }
            if (i == 0) {
                XRaiseWindow(d.display(), order[i]);
                XFlush(d.display());
                awaitStacking(order[i], true);
            } else {
                XWindowChanges changes{};
                changes.sibling = order[i - 1];
                changes.stack_mode = Below;
                XReconfigureWMWindow(d.display(), order[i], d.screen(), CWSibling | CWStackMode, &changes);
                XFlush(d.display());
                awaitBelow(order[i], order[i - 1]);
            }
        }
    }

    // Until the condition holds for every window still there, where a window manager
    // runs to make it hold (at most two seconds).
    static void awaitRecords(const std::vector<Window>& windows, bool (*holds)(const WindowRecord&)) {
        X11Desktop& d = desktop();
        const Atom check = XInternAtom(d.display(), "_NET_SUPPORTING_WM_CHECK", True);
        if (check == XNone || readLongs(d.display(), d.root(), check, XA_WINDOW).empty()) return;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (;;) {
            bool all = true;
            {
                auto guard = d.lock();
                for (Window xid : windows) {
                    const WindowRecord* record = d.find(handleOf(xid));
                    if (record && !holds(*record)) all = false;
                }
            }
            if (all || std::chrono::steady_clock::now() > end) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    static bool destroyWindow(WindowHandle window) {
        X11Desktop& d = desktop();
        std::vector<WindowHandle> owned;
        {
            auto guard = d.lock();
            WindowRecord* record = d.find(window);
            if (!record || record->destroying) return false;
            record->destroying = true;
            for (const auto& [xid, other] : d.records()) {
                if (other.owner == window) owned.push_back(handleOf(xid));
            }
        }
        // Owned windows go first, then the window hears WM_DESTROY while it still exists.
        for (WindowHandle child : owned) destroyWindow(child);
        d.callProcedure(window, WM_DESTROY, 0, 0);
        WindowRecord record;
        {
            auto guard = d.lock();
            auto it = d.records().find(xidOf(window));
            if (it == d.records().end()) return false;
            record = std::move(it->second);
            d.records().erase(it);
        }
        if (d.capture() == window) {
            XUngrabPointer(d.events(), CurrentTime);
            XFlush(d.events());
            d.setCaptureWindow(0);
        }
        Display* display = d.display();
        XSelectInput(d.events(), record.xid, NoEventMask);
        XFlush(d.events());
        if (record.gc) XFreeGC(display, record.gc);
        if (record.picture) XFreePixmap(display, record.picture);
        XDestroyWindow(display, record.xid);
        if (record.colormap) XFreeColormap(display, record.colormap);
        XFlush(display);
        return true;
    }

    // A restack of a managed window is the window manager's to carry out; callers
    // expect it done on return, as on the system, so the order is awaited briefly.
    static constexpr int kRestackWaitMs = 200;

    static std::vector<Window> stacking() {
        std::vector<Window> order;
        Display* display = desktop().display();
        for (Window child : children(display, desktop().root())) {
            if (const Window client = clientOf(display, child)) order.push_back(client);
        }
        return order;  // bottom first
    }

    static void awaitCondition(const std::function<bool(const std::vector<Window>&)>& holds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRestackWaitMs);
        for (;;) {
            XSync(desktop().display(), False);
            if (holds(stacking()) || std::chrono::steady_clock::now() > end) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    // Until the window is above (or below) every other window of its band here.
    static void awaitStacking(Window xid, bool top) {
        awaitCondition([xid, top](const std::vector<Window>& order) {
            if (order.empty()) return true;
            return top ? order.back() == xid : order.front() == xid;
        });
    }

    static void awaitBelow(Window xid, Window above) {
        awaitCondition([xid, above](const std::vector<Window>& order) {
            auto me = std::find(order.begin(), order.end(), xid);
            auto other = std::find(order.begin(), order.end(), above);
            return me == order.end() || other == order.end() || me < other;
        });
    }

    // The children of a window, bottom first as the server stacks them.
    static std::vector<Window> children(Display* display, Window parent) {
        Window rootReturn = 0, parentReturn = 0;
        Window* list = nullptr;
        unsigned count = 0;
        std::vector<Window> result;
        if (XQueryTree(display, parent, &rootReturn, &parentReturn, &list, &count)) {
            result.assign(list, list + count);
            if (list) XFree(list);
        }
        return result;
    }

    // The application window a child of the root stands for: itself when it is one of
    // ours or carries WM_STATE (managed or withdrawn by the conventions), else the
    // window with WM_STATE inside it (a manager's frame), else itself unless it is
    // override-redirect; 0 for those.
    static Window clientOf(Display* display, Window top) {
        {
            auto guard = desktop().lock();
            if (desktop().find(handleOf(top))) return top;
        }
        if (hasWmState(display, top)) return top;
        for (Window inner : children(display, top)) {
            if (hasWmState(display, inner)) return inner;
            for (Window deeper : children(display, inner)) {
                if (hasWmState(display, deeper)) return deeper;
            }
        }
        // Where no manager runs nothing carries WM_STATE: every window an application
        // made at the top counts, but not menus and tips (override-redirect).
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, top, &attributes) && !attributes.override_redirect) return top;
        return 0;
    }

    static bool hasWmState(Display* display, Window xid) {
        int format = 0;
        unsigned long items = 0;
        const Atom wmState = desktop().atoms().wmState;
        return !readProperty(display, xid, wmState, wmState, format, items).empty();
    }

    // Everything the window manager reads before the window is mapped.
    static void describeToWindowManager(const WindowRecord& record) {
        X11Desktop& d = desktop();
        Display* display = d.display();
        const Atoms& atoms = d.atoms();
        const Window xid = record.xid;
        setTitleProperties(display, xid, record.title);
        // A fixed class so that users can single the program out in compositor and
        // window manager rules.
        XClassHint classHint{const_cast<char*>("tavizo"), const_cast<char*>("Tavizo")};
        XSetClassHint(display, xid, &classHint);
        setPositionHints(display, xid, record.bounds);
        setInputHint(display, xid, !takesNoFocus(record.exStyle));
        Atom protocols[] = {atoms.wmDeleteWindow, atoms.netWmPing};
        XSetWMProtocols(display, xid, protocols, 2);
        setCardinal(display, xid, atoms.netWmPid, static_cast<unsigned long>(getpid()));
        const bool framed = (record.style & WS_CAPTION) == WS_CAPTION;
        setAtoms(display, xid, atoms.netWmWindowType,
                 {framed ? atoms.netWmWindowTypeNormal : atoms.netWmWindowTypeUtility});
        std::vector<Atom> states;
        if (!framed || (record.exStyle & WS_EX_TOOLWINDOW)) {
            states = {atoms.netWmStateSkipTaskbar, atoms.netWmStateSkipPager};
        }
        if (record.exStyle & WS_EX_TOPMOST) states.push_back(atoms.netWmStateAbove);
        setAtoms(display, xid, atoms.netWmState, states);
        if (!framed) {
            setCardinal(display, xid, atoms.netWmDesktop, 0xFFFFFFFFUL);  // every workspace
            // flags: decorations given; decorations: none.
            const long motif[5] = {2, 0, 0, 0, 0};
            XChangeProperty(display, xid, atoms.motifWmHints, atoms.motifWmHints, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(motif), 5);
        }
        if (record.owner != WindowHandle::None) XSetTransientForHint(display, xid, xidOf(record.owner));
    }

    // Lock held.
    static void moveResize(WindowRecord& record, const Rect& bounds) {
        Display* display = desktop().display();
        record.bounds = bounds;
        setPositionHints(display, record.xid, bounds);
        XMoveResizeWindow(display, record.xid, bounds.left, bounds.top, windowExtent(bounds.width()),
                          windowExtent(bounds.height()));
    }

    // Lock held. The input shape (and, without a compositor, the bounding shape) from
    // the pixels whose alpha is not 0, sent only when it differs from the last one.
    static void updateShape(WindowRecord& record, std::vector<Rect> shape, int width, int height) {
        if (!desktop().hasShape()) return;
        if (record.shapeSet && record.shapeWidth == width && record.shapeHeight == height && shape == record.shape) return;
        record.shape = std::move(shape);
        record.shapeWidth = width;
        record.shapeHeight = height;
        record.shapeSet = true;
        std::vector<XRectangle> rectangles;
        rectangles.reserve(record.shape.size());
        for (const Rect& r : record.shape) {
            rectangles.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                            static_cast<unsigned short>(r.width()), static_cast<unsigned short>(r.height())});
        }
        Display* display = desktop().display();
        XShapeCombineRectangles(display, record.xid, ShapeInput, 0, 0, rectangles.data(),
                                static_cast<int>(rectangles.size()), ShapeSet, Unsorted);
        if (desktop().needsBoundingShape(record)) {
            XShapeCombineRectangles(display, record.xid, ShapeBounding, 0, 0, rectangles.data(),
                                    static_cast<int>(rectangles.size()), ShapeSet, Unsorted);
        }
    }

    static void warnNoCompositorOnce() {
        static std::once_flag once;
        std::call_once(once, [] {
            std::fputs("tavizo: no compositing manager is running, so windows have hard edges; "
                       "start one for smooth edges\n",
                       stderr);
        });
    }

    std::u16string foreignTitle(Window xid) {
        if (!desktop().connected()) return {};
        Display* display = desktop().display();
        int format = 0;
        unsigned long items = 0;
        auto utf8 = readProperty(display, xid, desktop().atoms().netWmName, desktop().atoms().utf8String, format, items);
        if (format != 8 || utf8.empty()) utf8 = readProperty(display, xid, XA_WM_NAME, XA_STRING, format, items);
        if (format != 8) return {};
        return Text::fromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
    }

    // An empty 1 x 1 cursor: what a null cursor shows.
    Cursor blankCursor() {
        std::lock_guard guard(blankMutex_);
        if (!blank_) {
            XcursorImage* image = XcursorImageCreate(1, 1);
            if (!image) return 0;
            image->pixels[0] = 0;
            blank_ = XcursorImageLoadCursor(desktop().display(), image);
            XcursorImageDestroy(image);
        }
        return blank_;
    }

    std::mutex blankMutex_;
    Cursor blank_ = 0;
};

}  // namespace

std::unique_ptr<WindowService> makeWindowService() { return std::make_unique<X11WindowService>(); }

}  // namespace Arbor::Platform::X11
