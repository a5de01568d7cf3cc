#include "framework/Gui/WindowsWindow.h"

#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/TrayIcon.h"

namespace Arbor::Gui {

using namespace Platform;

std::u16string WindowsWindow::className() const { return u"WindowsWindow"; }

WindowsWindow::~WindowsWindow() {
    // The handlers of the classes above are gone already; what the native window still
    // says while it is destroyed reaches only the plain handlers here.
    destroyWindow();
    cutProcedure();
}

bool WindowsWindow::createNativeWindow(WindowDescription description) {
    if (hasWindow()) return false;
    description.className = className();
    description.procedure = procedureFor(this);
    creating_ = true;
    const WindowHandle created = windowService().create(description);
    creating_ = false;
    if (created == WindowHandle::None) {
        handle_ = WindowHandle::None;
        cutProcedure();
        return false;
    }
    handle_ = created;
    return true;
}

HandlerResult WindowsWindow::procedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    // The first messages arrive while the service is still creating the window: that is
    // when the object learns its handle.
    if (creating_ && handle_ == WindowHandle::None) handle_ = window;
    if (window != handle_) return std::nullopt;
    const HandlerResult result = dispatch(message, wParam, lParam);
    if (message == WM_DESTROY) {
        // Whatever the native window says from here on is for the system alone.
        handle_ = WindowHandle::None;
        cutProcedure();
    }
    return result;
}

HandlerResult WindowsWindow::dispatch(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    message_ = WindowMessage{message, wParam, lParam};
    return route(message, wParam, lParam);
}

HandlerResult WindowsWindow::route(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == DestroyWindowMessage) return onDestroyRequest();
    if (message >= WM_USER && message <= UserRangeLast) return onUserMessage();
    if (message >= WM_APP && message <= AppRangeLast) return onAppMessage();
    switch (message) {
        case WM_CREATE: return onCreate();
        case WM_DESTROY: return onDestroy();
        case WM_MOVE: return onMove();
        case WM_SIZE: return onSize();
        case WM_ACTIVATE: return onActivate();
        case WM_SETFOCUS: return onSetFocus();
        case WM_KILLFOCUS: return onKillFocus();
        case WM_PAINT: return onPaint();
        case WM_CLOSE: return onClose();
        case WM_QUERYENDSESSION: return onQueryEndSession();
        case WM_ENDSESSION: return onEndSession();
        case WM_QUIT: return onQuit();
        case WM_ERASEBKGND: return onEraseBackground();
        case WM_SHOWWINDOW: return onShowWindow();
        case WM_SETCURSOR: return onSetCursor();
        case WM_MOUSEACTIVATE: return onMouseActivate();
        case WM_NOTIFY: return onNotify();
        case WM_INPUTLANGCHANGEREQUEST: return onInputLangChangeRequest();
        case WM_INPUTLANGCHANGE: return onInputLangChange();
        case WM_DISPLAYCHANGE: return onDisplayChange();
        case WM_KEYDOWN: return onKeyDown();
        case WM_KEYUP: return onKeyUp();
        case WM_CHAR: return onChar();
        case WM_DEADCHAR: return onDeadChar();
        case WM_SYSKEYDOWN: return onSysKeyDown();
        case WM_SYSKEYUP: return onSysKeyUp();
        case WM_SYSCHAR: return onSysChar();
        case WM_SYSDEADCHAR: return onSysDeadChar();
        case WM_COMMAND:
            // A control's notification carries its handle; an accelerator sets the high
            // word of wParam; what is left came from a menu.
            if (lParam != 0) return onCommand();
            if (((wParam >> 16) & 0xFFFF) != 0) return onAcceleratorCommand();
            return onMenuCommand();
        case WM_TIMER: return onTimer();
        case WM_HSCROLL: return onHScroll();
        case WM_VSCROLL: return onVScroll();
        case WM_INITMENUPOPUP: return onInitMenuPopup();
        case WM_MOUSEMOVE: return onMouseMove();
        case WM_LBUTTONDOWN: return onLButtonDown();
        case WM_LBUTTONUP: return onLButtonUp();
        case WM_LBUTTONDBLCLK: return onLButtonDblClk();
        case WM_RBUTTONDOWN: return onRButtonDown();
        case WM_RBUTTONUP: return onRButtonUp();
        case WM_RBUTTONDBLCLK: return onRButtonDblClk();
        case WM_MBUTTONDOWN: return onMButtonDown();
        case WM_MBUTTONUP: return onMButtonUp();
        case WM_MBUTTONDBLCLK: return onMButtonDblClk();
        case WM_MOUSEWHEEL: return onMouseWheel();
        case WM_XBUTTONDOWN: return onXButtonDown();
        case WM_XBUTTONUP: return onXButtonUp();
        case WM_XBUTTONDBLCLK: return onXButtonDblClk();
        case WM_CAPTURECHANGED: return onCaptureChanged();
        case WM_ENTERSIZEMOVE: return onEnterSizeMove();
        case WM_EXITSIZEMOVE: return onExitSizeMove();
        case MM_WOM_DONE: return onWomDone();
        default: return defaultHandling();
    }
}

#define ARBOR_GUI_DEFAULT_HANDLER(name) \
    HandlerResult WindowsWindow::name() { return defaultHandling(); }
ARBOR_GUI_DEFAULT_HANDLER(onUserMessage)
ARBOR_GUI_DEFAULT_HANDLER(onAppMessage)
ARBOR_GUI_DEFAULT_HANDLER(onCreate)
ARBOR_GUI_DEFAULT_HANDLER(onDestroy)
ARBOR_GUI_DEFAULT_HANDLER(onMove)
ARBOR_GUI_DEFAULT_HANDLER(onSize)
ARBOR_GUI_DEFAULT_HANDLER(onActivate)
ARBOR_GUI_DEFAULT_HANDLER(onSetFocus)
ARBOR_GUI_DEFAULT_HANDLER(onKillFocus)
ARBOR_GUI_DEFAULT_HANDLER(onPaint)
ARBOR_GUI_DEFAULT_HANDLER(onClose)
ARBOR_GUI_DEFAULT_HANDLER(onQueryEndSession)
ARBOR_GUI_DEFAULT_HANDLER(onEndSession)
ARBOR_GUI_DEFAULT_HANDLER(onQuit)
ARBOR_GUI_DEFAULT_HANDLER(onEraseBackground)
ARBOR_GUI_DEFAULT_HANDLER(onShowWindow)
ARBOR_GUI_DEFAULT_HANDLER(onSetCursor)
ARBOR_GUI_DEFAULT_HANDLER(onNotify)
ARBOR_GUI_DEFAULT_HANDLER(onInputLangChangeRequest)
ARBOR_GUI_DEFAULT_HANDLER(onInputLangChange)
ARBOR_GUI_DEFAULT_HANDLER(onDisplayChange)
ARBOR_GUI_DEFAULT_HANDLER(onKeyDown)
ARBOR_GUI_DEFAULT_HANDLER(onKeyUp)
ARBOR_GUI_DEFAULT_HANDLER(onChar)
ARBOR_GUI_DEFAULT_HANDLER(onDeadChar)
ARBOR_GUI_DEFAULT_HANDLER(onSysKeyDown)
ARBOR_GUI_DEFAULT_HANDLER(onSysKeyUp)
ARBOR_GUI_DEFAULT_HANDLER(onSysChar)
ARBOR_GUI_DEFAULT_HANDLER(onSysDeadChar)
ARBOR_GUI_DEFAULT_HANDLER(onCommand)
ARBOR_GUI_DEFAULT_HANDLER(onMenuCommand)
ARBOR_GUI_DEFAULT_HANDLER(onAcceleratorCommand)
ARBOR_GUI_DEFAULT_HANDLER(onTimer)
ARBOR_GUI_DEFAULT_HANDLER(onHScroll)
ARBOR_GUI_DEFAULT_HANDLER(onVScroll)
ARBOR_GUI_DEFAULT_HANDLER(onInitMenuPopup)
ARBOR_GUI_DEFAULT_HANDLER(onMouseMove)
ARBOR_GUI_DEFAULT_HANDLER(onLButtonDown)
ARBOR_GUI_DEFAULT_HANDLER(onLButtonUp)
ARBOR_GUI_DEFAULT_HANDLER(onLButtonDblClk)
ARBOR_GUI_DEFAULT_HANDLER(onRButtonDown)
ARBOR_GUI_DEFAULT_HANDLER(onRButtonUp)
ARBOR_GUI_DEFAULT_HANDLER(onRButtonDblClk)
ARBOR_GUI_DEFAULT_HANDLER(onMButtonDown)
ARBOR_GUI_DEFAULT_HANDLER(onMButtonUp)
ARBOR_GUI_DEFAULT_HANDLER(onMButtonDblClk)
ARBOR_GUI_DEFAULT_HANDLER(onMouseWheel)
ARBOR_GUI_DEFAULT_HANDLER(onXButtonDown)
ARBOR_GUI_DEFAULT_HANDLER(onXButtonUp)
ARBOR_GUI_DEFAULT_HANDLER(onXButtonDblClk)
ARBOR_GUI_DEFAULT_HANDLER(onCaptureChanged)
ARBOR_GUI_DEFAULT_HANDLER(onEnterSizeMove)
ARBOR_GUI_DEFAULT_HANDLER(onExitSizeMove)
ARBOR_GUI_DEFAULT_HANDLER(onWomDone)
#undef ARBOR_GUI_DEFAULT_HANDLER

HandlerResult WindowsWindow::onMouseActivate() { return mouseActivateAnswer_; }

HandlerResult WindowsWindow::onDestroyRequest() {
    destroyWindow();
    return 0;
}

bool WindowsWindow::destroyWindow() {
    if (!hasWindow()) return false;
    const WindowHandle window = handle_;
    const bool destroyed = windowService().destroy(window);
    // A window destroyed elsewhere has passed WM_DESTROY already and dropped its handle.
    if (destroyed || !windowService().exists(window)) handle_ = WindowHandle::None;
    return destroyed;
}

bool WindowsWindow::isWindowThread() const {
    const WindowHandle window = handle_;
    return window != WindowHandle::None &&
           windowService().threadIdOf(window) == messageQueueService().currentThreadId();
}

bool WindowsWindow::requestDestroy() {
    if (isWindowThread()) return destroyWindow();
    return hasWindow() && messageQueueService().postMessage(handle_, DestroyWindowMessage, 0, 0);
}

bool WindowsWindow::setTitle(std::u16string_view title) {
    return hasWindow() && windowService().setTitle(handle_, title);
}

std::u16string WindowsWindow::title() const { return hasWindow() ? windowService().title(handle_) : u""; }

Rect WindowsWindow::windowRect() const {
    if (!hasWindow()) return Rect{};
    return windowService().bounds(handle_).value_or(Rect{});
}

Rect WindowsWindow::clientRect() const { return windowRect(); }

FrameInsets WindowsWindow::frameInsets() const {
    const Rect window = windowRect();
    const Rect client = clientRect();
    return FrameInsets{client.left - window.left, client.top - window.top, window.right - client.right,
                       window.bottom - client.bottom};
}

bool WindowsWindow::setWindowRect(const Rect& rect) {
    return hasWindow() && windowService().setBounds(handle_, rect);
}

bool WindowsWindow::moveWindow(int x, int y) {
    const Rect r = windowRect();
    return setWindowRect(Rect{x, y, x + r.width(), y + r.height()});
}

bool WindowsWindow::resizeWindow(int width, int height) {
    const Rect r = windowRect();
    return setWindowRect(Rect{r.left, r.top, r.left + width, r.top + height});
}

bool WindowsWindow::setClientRect(const Rect& rect) {
    const FrameInsets f = frameInsets();
    return setWindowRect(Rect{rect.left - f.left, rect.top - f.top, rect.right + f.right, rect.bottom + f.bottom});
}

bool WindowsWindow::moveClient(int x, int y) {
    const Rect c = clientRect();
    return setClientRect(Rect{x, y, x + c.width(), y + c.height()});
}

bool WindowsWindow::resizeClient(int width, int height) {
    const Rect c = clientRect();
    return setClientRect(Rect{c.left, c.top, c.left + width, c.top + height});
}

bool WindowsWindow::setZOrder(ZOrder where) { return hasWindow() && windowService().setZOrder(handle_, where); }

bool WindowsWindow::placeBelow(WindowHandle above) {
    return hasWindow() && windowService().placeBelow(handle_, above);
}

bool WindowsWindow::setForeground() { return hasWindow() && windowService().setForeground(handle_); }

Point WindowsWindow::clientToScreen(Point point) const {
    const Rect c = clientRect();
    return Point{point.x + c.left, point.y + c.top};
}

Point WindowsWindow::screenToClient(Point point) const {
    const Rect c = clientRect();
    return Point{point.x - c.left, point.y - c.top};
}

bool WindowsWindow::show() { return hasWindow() && windowService().show(handle_, true, true); }
bool WindowsWindow::hide() { return hasWindow() && windowService().show(handle_, false, false); }
bool WindowsWindow::isVisible() const { return hasWindow() && windowService().isVisible(handle_); }

bool WindowsWindow::setOwner(WindowHandle owner) { return hasWindow() && windowService().setOwner(handle_, owner); }

std::intptr_t WindowsWindow::sendMessageTo(WindowHandle window) const {
    if (window == WindowHandle::None) return 0;
    return messageQueueService().sendMessage(window, message_.message, message_.wParam, message_.lParam);
}

std::intptr_t WindowsWindow::sendMessageToParent() const {
    if (!hasWindow()) return 0;
    return sendMessageTo(windowService().parent(handle_));
}

bool WindowsWindow::addTrayIcon(void* icon, std::u16string_view tip) {
    return hasWindow() && trayIconService().addIcon(handle_, icon, tip);
}

bool WindowsWindow::modifyTrayIcon(void* icon, std::u16string_view tip) {
    return hasWindow() && trayIconService().modifyIcon(handle_, icon, tip);
}

bool WindowsWindow::removeTrayIcon() { return hasWindow() && trayIconService().removeIcon(handle_); }

}  // namespace Arbor::Gui
