#pragma once
// Top-level windows. Each window belongs to the thread that created it: its messages are
// dispatched on that thread's queue (MessageQueue.h), and only that thread should
// destroy it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {

class DibSection;
class NativeCursor;

// The window procedure. Answers the message's result, or nothing to leave the message
// to the system's default handling (which, for example, destroys the window on WM_CLOSE).
using WindowProcedure = std::function<std::optional<std::intptr_t>(
    WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

struct WindowDescription {
    // Windows of one class name share a registered class on Win32.
    std::u16string className = u"ArborWindow";
    std::u16string title;
    Rect bounds{0, 0, 0, 0};
    std::uint32_t style = 0;    // WS_... of Messages.h; WS_VISIBLE shows it at once
    std::uint32_t exStyle = 0;  // WS_EX_...; WS_EX_TOPMOST puts it in the topmost band
    WindowHandle owner = WindowHandle::None;
    WindowProcedure procedure;  // may be empty: default handling only
};

// Where setZOrder places a window, as the special insert-after values do.
enum class ZOrder { Top, Bottom, Topmost, NoTopmost };

class WindowService {
public:
    virtual ~WindowService() = default;

    // Creates the window on the calling thread; WM_CREATE reaches the procedure before
    // this returns. None on failure.
    virtual WindowHandle create(const WindowDescription& description) = 0;
    // Destroys the window and the windows it owns; WM_DESTROY reaches the procedure.
    virtual bool destroy(WindowHandle window) = 0;
    virtual bool exists(WindowHandle window) = 0;

    virtual bool setTitle(WindowHandle window, std::u16string_view title) = 0;
    // At most maxLength code units; empty when the window has no title or is gone.
    virtual std::u16string title(WindowHandle window, std::size_t maxLength = 1024) = 0;

    virtual bool show(WindowHandle window, bool visible, bool activate = false) = 0;
    virtual bool isVisible(WindowHandle window) = 0;

    // Outer rectangle in screen coordinates.
    virtual bool setBounds(WindowHandle window, const Rect& bounds) = 0;
    virtual std::optional<Rect> bounds(WindowHandle window) = 0;

    // Restacks without moving, sizing or activating. Topmost/NoTopmost move the window
    // into or out of the topmost band (to that band's top).
    virtual bool setZOrder(WindowHandle window, ZOrder where) = 0;
    // Puts the window directly below `above` (the insert-after of the system).
    virtual bool placeBelow(WindowHandle window, WindowHandle above) = 0;
    virtual bool isTopmost(WindowHandle window) = 0;

    virtual WindowHandle owner(WindowHandle window) = 0;
    virtual bool setOwner(WindowHandle window, WindowHandle owner) = 0;
    // The parent of a child window, else the owner of a top-level one (as the system's
    // GetParent answers); None for an unowned top-level window.
    virtual WindowHandle parent(WindowHandle window) = 0;

    virtual std::uint32_t exStyle(WindowHandle window) = 0;
    virtual bool setExStyle(WindowHandle window, std::uint32_t exStyle) = 0;

    virtual bool setForeground(WindowHandle window) = 0;
    // The window the user works in now, of any process (None when there is none or the
    // system does not say).
    virtual WindowHandle foregroundWindow() { return WindowHandle::None; }

    // --- Layered windows
    // Shows the top-left bounds.width() x bounds.height() pixels of a premultiplied
    // ARGB surface as the window's picture at the bounds' top-left corner, blended with
    // the constant opacity (255: as the pixels say), and gives the window that size:
    // the layered-window update. The window needs WS_EX_LAYERED. False when it lacks
    // it or is gone, when the size is not positive or larger than the surface, or when
    // the system refuses.
    virtual bool presentLayered(WindowHandle window, const DibSection& surface, const Rect& bounds,
                                std::uint8_t opacity) = 0;
    // Makes the window take clicks only where the surface's top-left width x height
    // pixels are not fully transparent; elsewhere clicks reach what lies below.
    // Layered windows on Win32 already behave this way, so it changes nothing there.
    virtual bool setInputShapeFromAlpha(WindowHandle window, const DibSection& surface, int width,
                                        int height) = 0;

    // --- Mouse and keyboard
    // Sends every mouse message to the window, wherever the pointer is, until released
    // or taken by another window (the one losing it gets WM_CAPTURECHANGED). Windows of
    // the calling thread only, as on the system.
    virtual bool setCapture(WindowHandle window) = 0;
    virtual bool releaseCapture() = 0;
    // The window holding the capture; None when no window of the calling thread holds
    // it (the headless desktop has one capture for all threads).
    virtual WindowHandle capture() = 0;
    // Shows the cursor as the pointer's shape; null hides the pointer.
    virtual bool setCursor(const NativeCursor* cursor) = 0;
    // Whether the key or mouse button with that virtual-key code (VK_LBUTTON, ...) is
    // down now.
    virtual bool isKeyDown(int virtualKey) = 0;

    // Every top-level window of the desktop, topmost first (all processes on Win32,
    // the virtual desktop's own on the headless backend).
    virtual std::vector<WindowHandle> topLevelWindows() = 0;
    // The process and thread that own the window; 0 when it is gone.
    virtual std::uint32_t processIdOf(WindowHandle window) = 0;
    virtual ThreadId threadIdOf(WindowHandle window) = 0;

    // The titles of every titled top-level window, topmost first (untitled windows are
    // skipped), each cut to maxLength code units.
    std::vector<std::u16string> topLevelTitles(std::size_t maxLength = 1024);
    // The window that stands for a process: its first visible top-level window in
    // z-order, else its first top-level window; None if it has none. Visible ones come
    // first because every GUI thread also owns hidden helper windows (the input-method
    // window, for one) on which a close request or a raise would be lost.
    WindowHandle firstTopLevelWindowOf(std::uint32_t processId);
};

// The service of the current backend (created on first use, kept for the process).
WindowService& windowService();

}  // namespace Arbor::Platform
