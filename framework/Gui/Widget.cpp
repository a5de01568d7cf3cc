#include "framework/Gui/Widget.h"

#include <algorithm>
#include <limits>

#include "framework/Platform/MessageQueue.h"

namespace Arbor::Gui {

using namespace Platform;

namespace {

constexpr std::int32_t initialBufferSide = 512;

std::int32_t saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

Widget::Widget() : Widget(std::make_unique<Window>()) {}

Widget::Widget(std::unique_ptr<Window> window)
    : window_(std::move(window)),
      buffer_(std::make_unique<Graphics::BufferedImage>(initialBufferSide, initialBufferSide)) {
    window_->attachWidget(this);
    window_->createPopup();
}

std::u16string Widget::className() const { return u"Widget"; }

Widget::~Widget() {
    unlinkFromParent();
    // The windows made here are never child windows, so there is no parent window to
    // leave. The window turns plain before it is destroyed: its WM_DESTROY must not
    // reach a listener or post the quit message of a window lost while the widget lives.
    window_->detachWidget();
    window_->destroyWindow();
    window_.reset();
    buffer_.reset();
    for (auto& list : listeners_) list.clear();
}

bool Widget::show() { return window_->show(); }
bool Widget::hide() { return window_->hide(); }
bool Widget::isVisible() const { return window_->isVisible(); }

void Widget::resize(int width, int height) { setGeometry(geometry_.left, geometry_.top, width, height); }

void Widget::move(int x, int y) { setGeometry(x, y, width(), height()); }

void Widget::setGeometry(int x, int y, int width, int height) {
    setGeometry(Rect{x, y, saturated(std::int64_t(x) + width), saturated(std::int64_t(y) + height)});
}

void Widget::setGeometry(const Rect& geometry) {
    storeGeometry(geometry);
    window_->setWindowRect(geometry);
}

void Widget::storeGeometry(const Rect& geometry) {
    geometry_ = geometry;
    // A failed reserve leaves no buffer; presenting and drawing then refuse.
    if (buffer_) buffer_->reserve(width(), height());
}

bool Widget::repaint() { return false; }

bool Widget::paint(const Rect&) { return repaint(); }

bool Widget::paint(int x, int y, int width, int height) {
    return paint(Rect{x, y, saturated(std::int64_t(x) + width), saturated(std::int64_t(y) + height)});
}

std::int32_t Widget::width() const { return saturated(std::int64_t(geometry_.right) - geometry_.left); }
std::int32_t Widget::height() const { return saturated(std::int64_t(geometry_.bottom) - geometry_.top); }
std::int32_t Widget::format() const { return buffer_ ? buffer_->format() : 0; }
Graphics::Pixel* Widget::bits() { return buffer_ ? buffer_->bits() : nullptr; }
const Graphics::Pixel* Widget::bits() const { return buffer_ ? buffer_->bits() : nullptr; }
bool Widget::isNull() const { return !buffer_ || buffer_->isNull(); }

// --- Listeners

namespace {

template <typename Interface, void (Interface::*operation)(Widget&, const WindowMessage&)>
void callListener(void* listener, Widget& sender, WidgetEvent, const WindowMessage& message) {
    (static_cast<Interface*>(listener)->*operation)(sender, message);
}

void callEventListener(void* listener, Widget& sender, WidgetEvent event, const WindowMessage& message) {
    static_cast<WidgetEventListener*>(listener)->onWidgetEvent(sender, event, message);
}

}  // namespace

void Widget::add(WidgetEvent event, Entry entry) { listeners_[static_cast<std::size_t>(event)].push_back(entry); }

#define ARBOR_GUI_ADD_LISTENER(Interface, operation, event)                            \
    bool Widget::add##Interface(Interface* listener) {                                 \
        if (!listener) return false;                                                   \
        add(WidgetEvent::event, Entry{listener, &callListener<Interface, &Interface::operation>}); \
        return true;                                                                   \
    }
ARBOR_GUI_ADD_LISTENER(OnAppListener, onAppMessage, AppMessage)
ARBOR_GUI_ADD_LISTENER(OnQueryEndSessionListener, onQueryEndSession, QueryEndSession)
ARBOR_GUI_ADD_LISTENER(OnEndSessionListener, onEndSession, EndSession)
ARBOR_GUI_ADD_LISTENER(OnCursorEnterListener, onCursorEnter, SetCursor)
ARBOR_GUI_ADD_LISTENER(OnResolutionChangeListener, onResolutionChange, DisplayChange)
ARBOR_GUI_ADD_LISTENER(OnMenuItemListener, onMenuItem, MenuItem)
ARBOR_GUI_ADD_LISTENER(OnAcceleratorListener, onAccelerator, Accelerator)
ARBOR_GUI_ADD_LISTENER(OnMouseMoveListener, onMouseMove, MouseMove)
ARBOR_GUI_ADD_LISTENER(OnMouseDownListener, onMouseDown, MouseDown)
ARBOR_GUI_ADD_LISTENER(OnMouseUpListener, onMouseUp, MouseUp)
ARBOR_GUI_ADD_LISTENER(OnMouseDoubleClickListener, onMouseDoubleClick, DoubleClick)
ARBOR_GUI_ADD_LISTENER(OnCaptureChangedListener, onCaptureChanged, CaptureChanged)
ARBOR_GUI_ADD_LISTENER(OnInitMenuPopupListener, onInitMenuPopup, InitMenuPopup)
ARBOR_GUI_ADD_LISTENER(OnWomDoneListener, onWomDone, WomDone)
#undef ARBOR_GUI_ADD_LISTENER

bool Widget::addEventListener(WidgetEvent event, WidgetEventListener* listener) {
    if (!listener || static_cast<std::size_t>(event) >= widgetEventCount) return false;
    add(event, Entry{listener, &callEventListener});
    return true;
}

std::size_t Widget::listenerCount(WidgetEvent event) const {
    const auto index = static_cast<std::size_t>(event);
    return index < widgetEventCount ? listeners_[index].size() : 0;
}

bool Widget::notify(WidgetEvent event) {
    const auto& list = listeners_[static_cast<std::size_t>(event)];
    if (list.empty()) return false;
    const WindowMessage copy = window_->message();
    // A copy of the list: a listener that registers another must not upset this walk.
    const std::vector<Entry> entries = list;
    for (const Entry& entry : entries) entry.call(entry.listener, *this, event, copy);
    return true;
}

// --- Handlers: listeners first; the default only when there are none.

#define ARBOR_GUI_ZERO_HANDLER(name, event)    \
    HandlerResult Widget::name() {             \
        notify(WidgetEvent::event);            \
        return 0;                              \
    }
ARBOR_GUI_ZERO_HANDLER(onUserMessage, UserMessage)
ARBOR_GUI_ZERO_HANDLER(onAppMessage, AppMessage)
ARBOR_GUI_ZERO_HANDLER(onCreate, Create)
ARBOR_GUI_ZERO_HANDLER(onMove, Move)
ARBOR_GUI_ZERO_HANDLER(onSize, Size)
ARBOR_GUI_ZERO_HANDLER(onEndSession, EndSession)
ARBOR_GUI_ZERO_HANDLER(onDisplayChange, DisplayChange)
ARBOR_GUI_ZERO_HANDLER(onKeyDown, KeyDown)
ARBOR_GUI_ZERO_HANDLER(onKeyUp, KeyUp)
ARBOR_GUI_ZERO_HANDLER(onChar, Char)
ARBOR_GUI_ZERO_HANDLER(onSysKeyDown, SysKeyDown)
ARBOR_GUI_ZERO_HANDLER(onSysKeyUp, SysKeyUp)
ARBOR_GUI_ZERO_HANDLER(onSysChar, SysChar)
ARBOR_GUI_ZERO_HANDLER(onMenuItem, MenuItem)
ARBOR_GUI_ZERO_HANDLER(onAccelerator, Accelerator)
ARBOR_GUI_ZERO_HANDLER(onTimer, Timer)
ARBOR_GUI_ZERO_HANDLER(onHScroll, HScroll)
ARBOR_GUI_ZERO_HANDLER(onVScroll, VScroll)
ARBOR_GUI_ZERO_HANDLER(onMouseMove, MouseMove)
ARBOR_GUI_ZERO_HANDLER(onMouseDown, MouseDown)
ARBOR_GUI_ZERO_HANDLER(onMouseUp, MouseUp)
ARBOR_GUI_ZERO_HANDLER(onDoubleClick, DoubleClick)
ARBOR_GUI_ZERO_HANDLER(onWheel, Wheel)
ARBOR_GUI_ZERO_HANDLER(onCaptureChanged, CaptureChanged)
ARBOR_GUI_ZERO_HANDLER(onSizeMove, SizeMove)
ARBOR_GUI_ZERO_HANDLER(onUnrouted, Unrouted)
ARBOR_GUI_ZERO_HANDLER(onInitMenuPopup, InitMenuPopup)
ARBOR_GUI_ZERO_HANDLER(onWomDone, WomDone)
#undef ARBOR_GUI_ZERO_HANDLER

HandlerResult Widget::onPaint() {
    if (!notify(WidgetEvent::Paint)) repaint();
    // The system's own handling then marks the window painted; without it a window whose
    // paint message is answered otherwise would be asked again and again.
    return window_->defaultHandling();
}

HandlerResult Widget::onClose() {
    if (!notify(WidgetEvent::Close)) window_->destroyWindow();
    return 0;
}

HandlerResult Widget::onQueryEndSession() {
    notify(WidgetEvent::QueryEndSession);
    return 1;
}

HandlerResult Widget::onDestroy() {
    if (!notify(WidgetEvent::Destroy)) messageQueueService().postQuitMessage(0);
    return 0;
}

HandlerResult Widget::onSetCursor() {
    if (notify(WidgetEvent::SetCursor)) return 0;
    // The system's handling sets the class cursor (the arrow) for a top-level window.
    return window_->defaultHandling();
}

HandlerResult Widget::onMouseActivate() {
    notify(WidgetEvent::MouseActivate);
    return window_->mouseActivateAnswer();
}

}  // namespace Arbor::Gui
