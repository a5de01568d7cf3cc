#pragma once
// The headless backend's virtual desktop: screen, cursor, clock, windows with their
// queues, and a record of every outside effect, for tests to set and read. One desktop
// per process, reached with HeadlessDesktop::instance(). All members are safe to call
// from any thread.
//
// Outside effects: message boxes are recorded (and written to standard error); the
// shutdown privilege and session-end requests are recorded only (the host is never
// shut down); program launches are recorded and then really started on the host, so
// that waiting for a program and its exit code behave as on a real system. Shared
// libraries are real too. Named mutexes are real host locks (see NamedMutex.h).
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/Platform/Clock.h"
#include "framework/Platform/Memory.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Types.h"

namespace Arbor::Platform {
class NativeCursor;
}  // namespace Arbor::Platform

namespace Arbor::Platform::Headless {

class HeadlessWindowing;

struct MessageBoxRecord {
    WindowHandle owner = WindowHandle::None;
    std::u16string text;
    std::u16string caption;
    std::uint32_t type = 0;
};

struct ProcessLaunchRecord {
    std::u16string applicationName;
    std::u16string commandLine;
    bool started = false;
    std::uint32_t processId = 0;
};

struct SessionRecord {
    enum class Kind { EnableShutdownPrivilege, ExitSystem };
    Kind kind = Kind::ExitSystem;
    std::uint32_t flags = 0;
    std::uint32_t reason = 0;
};

// A picture of the desktop: 8-bit R, G, B, A per pixel, row by row, straight alpha.
struct DesktopImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

enum class MouseButton { Left, Right };

// A copy of one window's state.
struct WindowState {
    WindowHandle handle = WindowHandle::None;
    std::u16string className;
    std::u16string title;
    Rect bounds;
    bool visible = false;
    bool topmost = false;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    WindowHandle owner = WindowHandle::None;
    ThreadId thread = 0;
    std::uint32_t processId = 0;  // 0: this program's own window
    // The last presented picture (0xAARRGGBB words, row by row): straight when a test
    // stored it with presentPixels, premultiplied when it came from a layered present,
    // which also records its constant opacity.
    int pixelWidth = 0;
    int pixelHeight = 0;
    std::vector<std::uint32_t> pixels;
    bool premultiplied = false;
    std::uint8_t opacity = 255;
    // The input shape, in window coordinates: where the window takes clicks. Without
    // one the whole window does.
    bool hasInputShape = false;
    std::vector<Rect> inputShape;
};

class HeadlessDesktop {
public:
    static HeadlessDesktop& instance();

    // Back to the start state: no windows, timers, queued messages or records; a
    // 1920x1080 single screen; cursor at (0, 0); the real clock; host memory figures;
    // message boxes answered IDOK; the shutdown privilege granted. Call only while no
    // thread waits in a message loop.
    void reset();

    // --- Screen and cursor
    void setScreen(const ScreenMetrics& metrics);
    ScreenMetrics screen() const;
    void setCursorPosition(Point position);
    Point cursorPosition() const;
    // Mouse buttons and keys by virtual-key code (1 left, 2 right, 4 middle button).
    void setKeyDown(int virtualKey, bool down);
    bool isKeyDown(int virtualKey) const;

    // --- Clock: real by default; once set, it stands still until stepped.
    void setClock(std::uint32_t tickCount, const LocalTime& localTime);
    // Moves a set clock forward (tick count and local time together); timers that fall
    // due fire in the message loops of their threads.
    void stepClock(std::uint32_t milliseconds);
    void useRealClock();
    bool isClockSet() const;
    std::uint32_t tickCount() const;
    LocalTime localTime() const;
    // The timer-resolution requests the program made, as a running count (begin adds one).
    int timerResolutionRequests() const;
    void addTimerResolutionRequest(int delta);

    // --- Memory: the host's figures unless set; nothing means "cannot be read".
    void setMemoryStatus(std::optional<MemoryStatus> status);
    void useHostMemoryStatus();
    bool memoryStatus(MemoryStatus& status) const;

    // --- Folders
    // Replaces the application-data folder (system text); empty returns to the host's.
    void setApplicationDataFolder(std::u16string folder);
    std::u16string applicationDataFolderOverride() const;
    // Makes the writability test fail for this folder (system text, compared as given
    // after dropping a trailing separator), whatever the host says.
    void markUnwritable(std::u16string folder);
    bool isMarkedUnwritable(std::u16string_view folder) const;

    // --- Recorded effects
    void setMessageBoxReply(int reply);
    int recordMessageBox(const MessageBoxRecord& record);
    std::vector<MessageBoxRecord> messageBoxes() const;

    void recordProcessLaunch(const ProcessLaunchRecord& record);
    std::vector<ProcessLaunchRecord> processLaunches() const;

    void setShutdownPrivilegeGranted(bool granted);
    bool recordSessionRequest(const SessionRecord& record);
    std::vector<SessionRecord> sessionRequests() const;

    // --- Windows (created through WindowService)
    std::optional<WindowState> window(WindowHandle handle) const;
    // Top-level windows, topmost first.
    std::vector<WindowHandle> zOrder() const;
    // Stores the picture a window shows (what a layered-window update presents).
    bool presentPixels(WindowHandle handle, int width, int height,
                       const std::vector<std::uint32_t>& pixels);
    WindowHandle foregroundWindow() const;
    // The window holding the mouse capture (one for the whole desktop); None when none.
    WindowHandle captureWindow() const;
    // Whether the window takes a click at the screen point: the point is inside it and
    // inside its input shape, if it has one.
    bool takesClickAt(WindowHandle handle, Point screenPoint) const;
    // The cursor last set as the pointer's shape (compared, never read: it may have been
    // destroyed since); null when hidden or never set.
    const NativeCursor* currentCursor() const;
    void setCurrentCursor(const NativeCursor* cursor);
    // Lets a window stand for one of another program (as the windows of launched
    // programs do on a shared desktop): the window service reports that process id.
    bool setWindowProcessId(WindowHandle handle, std::uint32_t processId);

    // --- Pointer input, delivered as the system delivers it (HeadlessPointer.cpp)
    // The top visible window under the screen point, found by its presented pixels: a
    // fully transparent one (alpha 0, or a constant opacity of 0) lets the point through
    // to the windows below, as on a layered window. A window that never presented a
    // picture takes the point by its bounds and input shape; one with
    // WS_EX_TRANSPARENT never does. None when no window takes it.
    WindowHandle windowAt(Point screenPoint) const;
    // Moves the cursor. When it moved, the window under it (or the one holding the
    // capture) gets WM_SETCURSOR (not while the capture is held) and WM_MOUSEMOVE in
    // its client coordinates. Messages are sent, so they have been handled when the
    // call returns.
    void moveMouse(Point screenPoint);
    // Moves the cursor to the point, then delivers the button's down or up message
    // (with WM_SETCURSOR before it) and keeps the button's key state.
    void pressButton(Point screenPoint, MouseButton button, bool down);
    // Down, up, double-click and up, as the system delivers a double click to a window
    // whose class takes them.
    void doubleClick(Point screenPoint, MouseButton button);

    // --- Composition (HeadlessComposition.cpp)
    // Every visible window's last presented picture, bottom window first, over a fully
    // transparent background, for the screen area. Windows without a picture add nothing.
    DesktopImage compose(const Rect& area) const;

    HeadlessWindowing& windowing();

    HeadlessDesktop(const HeadlessDesktop&) = delete;
    HeadlessDesktop& operator=(const HeadlessDesktop&) = delete;

private:
    HeadlessDesktop();
    ~HeadlessDesktop() = default;  // never called: the desktop lives until the process ends
    struct State;
    State* state_;
    HeadlessWindowing* windowing_;
};

}  // namespace Arbor::Platform::Headless
