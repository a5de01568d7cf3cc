#include "framework/Gui/Window.h"

#include "framework/Gui/Widget.h"
#include "framework/Platform/Messages.h"

namespace Arbor::Gui {

using namespace Platform;

Window::~Window() = default;

std::u16string Window::className() const { return u"Window"; }

bool Window::setTitle(std::u16string_view title) {
    title_ = std::u16string(title);
    return WindowsWindow::setTitle(title);
}

bool Window::createPopup(WindowHandle owner) { return createPopupWith(owner, 0, u"Window"); }

bool Window::createPopupWith(WindowHandle owner, std::uint32_t exStyle, std::u16string_view title) {
    WindowDescription description;
    description.title = std::u16string(title);
    description.style = WS_POPUP;
    description.exStyle = exStyle;
    description.owner = owner;
    if (!createNativeWindow(std::move(description))) return false;
    title_ = std::u16string(title);
    return true;
}

// A handler that feeds one widget handler, or is the plain one without a widget.
#define ARBOR_GUI_FEED(handler, widgetHandler) \
    HandlerResult Window::handler() { return widget_ ? widget_->widgetHandler() : WindowsWindow::handler(); }
ARBOR_GUI_FEED(onUserMessage, onUserMessage)
ARBOR_GUI_FEED(onAppMessage, onAppMessage)
ARBOR_GUI_FEED(onCreate, onCreate)
ARBOR_GUI_FEED(onDestroy, onDestroy)
ARBOR_GUI_FEED(onMove, onMove)
ARBOR_GUI_FEED(onSize, onSize)
ARBOR_GUI_FEED(onPaint, onPaint)
ARBOR_GUI_FEED(onClose, onClose)
ARBOR_GUI_FEED(onQueryEndSession, onQueryEndSession)
ARBOR_GUI_FEED(onEndSession, onEndSession)
ARBOR_GUI_FEED(onSetCursor, onSetCursor)
ARBOR_GUI_FEED(onMouseActivate, onMouseActivate)
ARBOR_GUI_FEED(onDisplayChange, onDisplayChange)
ARBOR_GUI_FEED(onKeyDown, onKeyDown)
ARBOR_GUI_FEED(onKeyUp, onKeyUp)
ARBOR_GUI_FEED(onChar, onChar)
ARBOR_GUI_FEED(onSysKeyDown, onSysKeyDown)
ARBOR_GUI_FEED(onSysKeyUp, onSysKeyUp)
ARBOR_GUI_FEED(onSysChar, onSysChar)
ARBOR_GUI_FEED(onMenuCommand, onMenuItem)
ARBOR_GUI_FEED(onAcceleratorCommand, onAccelerator)
ARBOR_GUI_FEED(onTimer, onTimer)
ARBOR_GUI_FEED(onHScroll, onHScroll)
ARBOR_GUI_FEED(onVScroll, onVScroll)
ARBOR_GUI_FEED(onInitMenuPopup, onInitMenuPopup)
ARBOR_GUI_FEED(onMouseMove, onMouseMove)
ARBOR_GUI_FEED(onLButtonDown, onMouseDown)
ARBOR_GUI_FEED(onRButtonDown, onMouseDown)
ARBOR_GUI_FEED(onMButtonDown, onMouseDown)
ARBOR_GUI_FEED(onXButtonDown, onMouseDown)
ARBOR_GUI_FEED(onLButtonUp, onMouseUp)
ARBOR_GUI_FEED(onRButtonUp, onMouseUp)
ARBOR_GUI_FEED(onMButtonUp, onMouseUp)
ARBOR_GUI_FEED(onXButtonUp, onMouseUp)
ARBOR_GUI_FEED(onLButtonDblClk, onDoubleClick)
ARBOR_GUI_FEED(onRButtonDblClk, onDoubleClick)
ARBOR_GUI_FEED(onMButtonDblClk, onDoubleClick)
ARBOR_GUI_FEED(onXButtonDblClk, onDoubleClick)
ARBOR_GUI_FEED(onMouseWheel, onWheel)
ARBOR_GUI_FEED(onCaptureChanged, onCaptureChanged)
ARBOR_GUI_FEED(onEnterSizeMove, onSizeMove)
ARBOR_GUI_FEED(onExitSizeMove, onSizeMove)
ARBOR_GUI_FEED(onWomDone, onWomDone)
#undef ARBOR_GUI_FEED

// Handlers with no widget event: the plain ones, except that a widget's window is
// never erased (the widget paints every pixel itself).
#define ARBOR_GUI_PLAIN(handler) \
    HandlerResult Window::handler() { return WindowsWindow::handler(); }
ARBOR_GUI_PLAIN(onActivate)
ARBOR_GUI_PLAIN(onSetFocus)
ARBOR_GUI_PLAIN(onKillFocus)
ARBOR_GUI_PLAIN(onQuit)
ARBOR_GUI_PLAIN(onShowWindow)
ARBOR_GUI_PLAIN(onNotify)
ARBOR_GUI_PLAIN(onInputLangChangeRequest)
ARBOR_GUI_PLAIN(onInputLangChange)
ARBOR_GUI_PLAIN(onDeadChar)
ARBOR_GUI_PLAIN(onSysDeadChar)
ARBOR_GUI_PLAIN(onCommand)
ARBOR_GUI_PLAIN(onDestroyRequest)
#undef ARBOR_GUI_PLAIN

HandlerResult Window::onEraseBackground() { return widget_ ? HandlerResult(1) : WindowsWindow::onEraseBackground(); }

}  // namespace Arbor::Gui
