#pragma once
// The X11 desktop of this process: the display connections, the windows this process
// made, the per-thread message queues their messages go through, and the thread that
// reads the server's events.
//
// Threads and connections: two connections to the display, both with Xlib's own
// locking (XInitThreads), so that any thread may make requests.
// - The request connection (display()) changes and presents the windows: the
//   user-interface thread restacks and moves them, the frame thread presents.
// - The event connection (events()) creates the windows (messages sent to a window
//   without an event mask, like the window manager's close request, go to the client
//   that created it), selects their input and holds pointer grabs. Only the event
//   thread reads it: it waits in poll() on its socket and on a wake-up pipe beside it,
//   so a poll() that sees nothing readable really means that no event waits. A thread
//   that makes a round trip on it (creating a window, grabbing the pointer) writes to
//   the pipe afterwards, since Xlib may have queued events meanwhile.
// The event thread translates each event into the window message vocabulary and posts it
// to the queue of the window's thread (ThreadQueues), where the message loops of the
// seam take them, together with posted, sent and timer messages.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/ThreadQueues.h"
#include "framework/Platform/Types.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11Headers.h"

namespace Arbor::Platform::X11 {

struct Atoms {
    Atom wmProtocols, wmDeleteWindow, wmState, netWmPing;
    Atom netWmName, utf8String, netWmPid, netWmWindowType, netWmWindowTypeUtility, netWmWindowTypeNormal;
    Atom netWmState, netWmStateAbove, netWmStateSkipTaskbar, netWmStateSkipPager;
    Atom netWmDesktop, netWmUserTime, netWmWindowOpacity, motifWmHints;
    Atom netActiveWindow, netClientListStacking, netWorkarea, netCurrentDesktop;
    Atom netWmWindowTypeDialog, netWmStateModal, compositorSelection;
};

// A property of 32-bit items (CARDINAL, WINDOW, ATOM ...) of any window; empty when it is
// missing or of another type or format.
std::vector<long> readLongs(Display* display, Window xid, Atom property, Atom type);

// The primary monitor (RandR's primary, else the first; the root window without RandR).
Rect primaryMonitor();

// XCreateWindow, but the new window takes the given id, one this connection allocated
// for a window it has destroyed since: a window made again keeps its handle.
Window createWindowWithId(Display* display, XID id, Window parent, int x, int y, unsigned width, unsigned height,
                          int depth, Visual* visual, unsigned long mask, XSetWindowAttributes* attributes);

// What the backend keeps of each window it made. The handle is the X window id.
struct WindowRecord {
    Window xid = 0;
    WindowProcedure procedure;
    ThreadId thread = 0;
    std::u16string title;
    Rect bounds;  // screen coordinates: as asked, then as the server or the manager said
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    WindowHandle owner = WindowHandle::None;
    bool visible = false;
    bool destroying = false;
    bool argb = false;         // 32-bit visual: the compositor blends the alpha
    bool framed = false;       // reparented into a window manager's frame
    int depth = 24;
    Visual* visual = nullptr;
    Colormap colormap = 0;     // ours to free (argb windows)
    GC gc = nullptr;
    // The presented picture, kept by the server as the window's background so that it
    // repaints exposed parts itself (and pictures presented before mapping survive).
    Pixmap picture = 0;
    int pictureWidth = 0, pictureHeight = 0;
    // The last shape sent, from the last presented alpha; shapeSet once one was sent.
    std::vector<Rect> shape;
    int shapeWidth = 0, shapeHeight = 0;
    bool shapeSet = false;
    std::uint8_t opacity = 255;
    // A copy of the last presented pixels (premultiplied ARGB, rows of frameWidth), so
    // that a window made again with another visual shows the same picture at once.
    std::vector<std::uint32_t> frame;
    int frameWidth = 0, frameHeight = 0;
};

class X11Desktop : private ThreadQueues::Windows {
public:
    // The desktop of the process; opens its connections on first use. connected() is
    // false when the display does not open (then every service reports failure).
    static X11Desktop& instance();

    bool connected() const { return display_ != nullptr && !lost_.load(); }
    Display* display() const { return display_; }
    Display* events() const { return events_; }
    int screen() const { return screen_; }
    Window root() const { return root_; }
    const Atoms& atoms() const { return atoms_; }
    bool hasShm() const { return hasShm_; }
    bool hasShape() const { return hasShape_; }
    bool hasRandr() const { return hasRandr_; }
    // True while a compositing manager owns the selection of this screen.
    bool compositorRunning();
    // The 32-bit TrueColor visual, null when the server has none.
    Visual* argbVisual() const { return argbVisual_; }

    ThreadQueues& queues() { return queues_; }
    static ThreadId currentThreadId() { return ThreadQueues::currentThreadId(); }

    // The window records, under lock().
    std::unique_lock<std::mutex> lock() const { return std::unique_lock<std::mutex>(mutex_); }
    WindowRecord* find(WindowHandle window);  // lock held
    std::map<Window, WindowRecord>& records() { return windows_; }  // lock held

    // Calls the window's procedure, then its default handling; 0 when it is gone.
    std::intptr_t callProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam);
    // Destroying windows is the window service's; the default handling of WM_CLOSE calls it.
    void setDestroyer(bool (*destroy)(WindowHandle)) { destroyer_ = destroy; }
    // Making the layered windows again with the visual that suits whether a compositor
    // runs is the window service's too; the event thread calls it (on a thread of its
    // own, so that events keep flowing) when the compositor's selection changes owner.
    void setVisualSwitcher(void (*switcher)()) { visualSwitcher_.store(switcher); }

    // The display went away: the event thread stops, services report failure.
    void markLost();
    // The major opcode of the last request the server refused (0: none since reset).
    static std::atomic<int>& lastFailedRequest();

    // Whether the window is cut to its alpha: always without the 32-bit visual, and
    // with it while no compositor runs.
    bool needsBoundingShape(const WindowRecord& record);
    // Sends the window's shape again (after the window manager took the window).
    void resendShape(Window xid);
    // Wakes the event thread (after a round trip on the event connection).
    void wakeEvents();

    // Capture: the window whose thread receives every mouse event while it holds it.
    WindowHandle capture() const { return WindowHandle(capture_.load()); }
    void setCaptureWindow(Window xid) { capture_.store(xid); }
    Window pointerWindow() const { return pointerWindow_.load(); }
    Point lastPointer() const { return Point{pointerX_.load(), pointerY_.load()}; }

    // Millisecond clock of time stamps and timers.
    static std::uint32_t ticks();

    // The double-click interval (ms) and the distance (pixels either way) within which a
    // second press counts as a double click.
    static constexpr std::uint32_t doubleClickTime = 500;
    static constexpr int doubleClickDistance = 2;

private:
    X11Desktop();
    void eventLoop();
    void translate(XEvent& event);
    void post(Window xid, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void postToAll(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void onButton(const XButtonEvent& event, bool press);
    void onConfigure(const XConfigureEvent& event);

    // ThreadQueues::Windows
    std::intptr_t deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;
    std::uint32_t tickCount() override { return ticks(); }
    bool clockIsStepped() override { return false; }
    Point cursorPosition() override { return lastPointer(); }

    Display* display_ = nullptr;
    Display* events_ = nullptr;
    int screen_ = 0;
    Window root_ = 0;
    Atoms atoms_{};
    bool hasShm_ = false;
    bool hasShape_ = false;
    bool hasRandr_ = false;
    int randrEventBase_ = 0;
    int fixesEventBase_ = 0;
    bool hasFixes_ = false;
    Visual* argbVisual_ = nullptr;
    std::atomic<int> compositor_{-1};  // -1 unknown, else 0/1
    std::atomic<bool> lost_{false};
    int wakeRead_ = -1, wakeWrite_ = -1;

    mutable std::mutex mutex_;
    std::map<Window, WindowRecord> windows_;
    bool (*destroyer_)(WindowHandle) = nullptr;
    std::atomic<void (*)()> visualSwitcher_{nullptr};
    std::atomic<Window> capture_{0};
    std::atomic<Window> pointerWindow_{0};
    std::atomic<int> pointerX_{0}, pointerY_{0};

    // Double-click detection (event thread only).
    struct LastPress {
        Window window = 0;
        unsigned button = 0;
        Time time = 0;
        int x = 0, y = 0;
    } lastPress_;

    ThreadQueues queues_;
    std::thread eventThread_;
};

}  // namespace Arbor::Platform::X11
