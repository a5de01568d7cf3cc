#pragma once
// A native window as an object: the handle, the message being handled and one virtual
// handler per message. Every handler of this class does the system's default handling,
// except WM_MOUSEACTIVATE (the stored answer) and the destroy request 0x8003 (destroys
// the window). Window (Window.h) overrides them to feed its widget.
//
// The window is reached through the platform window service, so the same object runs on
// every backend. It belongs to the thread that created it: only that thread handles its
// messages and destroys it.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Gui/WindowMessage.h"
#include "framework/Gui/WindowsBaseWindow.h"
#include "framework/Platform/Types.h"
#include "framework/Platform/Window.h"

namespace Arbor::Gui {

// Every message handler of the family, in dispatch order.
#define ARBOR_GUI_WINDOW_HANDLERS(X)                                                           \
    X(onUserMessage) X(onAppMessage) X(onCreate) X(onDestroy) X(onMove) X(onSize) X(onActivate) \
    X(onSetFocus) X(onKillFocus) X(onPaint) X(onClose) X(onQueryEndSession) X(onEndSession)    \
    X(onQuit) X(onEraseBackground) X(onShowWindow) X(onSetCursor) X(onMouseActivate)           \
    X(onNotify) X(onInputLangChangeRequest) X(onInputLangChange) X(onDisplayChange)            \
    X(onKeyDown) X(onKeyUp) X(onChar) X(onDeadChar) X(onSysKeyDown) X(onSysKeyUp) X(onSysChar)  \
    X(onSysDeadChar) X(onCommand) X(onMenuCommand) X(onAcceleratorCommand) X(onTimer)          \
    X(onHScroll) X(onVScroll) X(onInitMenuPopup) X(onMouseMove) X(onLButtonDown)               \
    X(onLButtonUp) X(onLButtonDblClk) X(onRButtonDown) X(onRButtonUp) X(onRButtonDblClk)       \
    X(onMButtonDown) X(onMButtonUp) X(onMButtonDblClk) X(onMouseWheel) X(onXButtonDown)        \
    X(onXButtonUp) X(onXButtonDblClk) X(onCaptureChanged) X(onEnterSizeMove)                   \
    X(onExitSizeMove) X(onWomDone) X(onDestroyRequest)

// Left, top, right and bottom distances between the window and its client rectangle.
struct FrameInsets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class WindowsWindow : public WindowsBaseWindow<WindowsWindow> {
public:
    WindowsWindow() = default;

    // Also the name the window class is registered under.
    virtual std::u16string className() const;
    // Stores the message, then routes it to its handler by number.
    virtual HandlerResult dispatch(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    // Destroys the native window, if any.
    virtual ~WindowsWindow();

    Platform::WindowHandle handle() const { return handle_; }
    bool hasWindow() const { return handle_ != Platform::WindowHandle::None; }
    // True on the thread that created the window (the one that handles its messages).
    bool isWindowThread() const;
    // The message being handled (the last one dispatched).
    const WindowMessage& message() const { return message_; }

    // DestroyWindow; WM_DESTROY reaches the handlers before the handle is dropped. Only
    // the window's own thread can destroy it.
    bool destroyWindow();
    // Destroys the window from any thread: at once on its own thread, else by posting it
    // the destroy request 0x8003.
    bool requestDestroy();

    virtual bool setTitle(std::u16string_view title);
    virtual std::u16string title() const;

    // The window rectangle in screen coordinates (empty when there is no window).
    virtual Platform::Rect windowRect() const;
    int windowLeft() const { return windowRect().left; }
    int windowTop() const { return windowRect().top; }
    int windowWidth() const { return windowRect().width(); }
    int windowHeight() const { return windowRect().height(); }
    // The client rectangle in screen coordinates. The windows of this family are created
    // without frames, so it is the window rectangle.
    virtual Platform::Rect clientRect() const;
    int clientLeft() const { return clientRect().left; }
    int clientTop() const { return clientRect().top; }
    int clientWidth() const { return clientRect().width(); }
    int clientHeight() const { return clientRect().height(); }
    // Client rectangle minus window rectangle, side by side.
    FrameInsets frameInsets() const;

    // Moves and sizes by window rectangle, or by client size (adding the frame insets
    // when the window uses client sizing); the system's MoveWindow without repaint.
    bool moveWindow(int x, int y);
    bool resizeWindow(int width, int height);
    bool setWindowRect(const Platform::Rect& rect);
    bool moveClient(int x, int y);
    bool resizeClient(int width, int height);
    bool setClientRect(const Platform::Rect& rect);

    // Restacking (SetWindowPos with an insert-after window and no move or size).
    bool setZOrder(Platform::ZOrder where);
    bool placeBelow(Platform::WindowHandle above);
    bool setForeground();

    Platform::Point clientToScreen(Platform::Point point) const;
    Platform::Point screenToClient(Platform::Point point) const;

    bool show();
    bool hide();
    bool isVisible() const;

    // Makes `owner` the owner of this top-level window (None for no owner).
    bool setOwner(Platform::WindowHandle owner);

    void setMouseActivateAnswer(std::intptr_t answer) { mouseActivateAnswer_ = answer; }
    std::intptr_t mouseActivateAnswer() const { return mouseActivateAnswer_; }

    // The system's default handling of the stored message.
    HandlerResult defaultHandling() const { return std::nullopt; }
    // Sends the stored message to another window, or to this window's parent (owner).
    std::intptr_t sendMessageTo(Platform::WindowHandle window) const;
    std::intptr_t sendMessageToParent() const;

    // The notification-area icon of this window (identifier 100; clicks come back as
    // application message 0x8002 with the mouse message in lParam). `icon` is the native
    // icon: Platform::TrayIconImage::handle() (Platform::trayIconService().createIcon
    // makes one from pixels), or on Win32 any HICON; the tip is cut to 127 code units.
    bool addTrayIcon(void* icon, std::u16string_view tip);
    // A new picture and tip for the icon shown.
    bool modifyTrayIcon(void* icon, std::u16string_view tip);
    bool removeTrayIcon();

#define ARBOR_GUI_DECLARE_HANDLER(name) virtual HandlerResult name();
    ARBOR_GUI_WINDOW_HANDLERS(ARBOR_GUI_DECLARE_HANDLER)
#undef ARBOR_GUI_DECLARE_HANDLER

    // The entry of the shared window procedure (see WindowsBaseWindow).
    HandlerResult procedure(Platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam);

protected:
    // Creates the native window of this object from the description, under the class
    // name of className(). False (and no handle) on failure.
    bool createNativeWindow(Platform::WindowDescription description);

private:
    HandlerResult route(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    // Read by a drawing thread while the window's thread may drop it.
    std::atomic<Platform::WindowHandle> handle_{Platform::WindowHandle::None};
    bool creating_ = false;
    WindowMessage message_;
    std::intptr_t mouseActivateAnswer_ = MA_ACTIVATE;
};

}  // namespace Arbor::Gui
