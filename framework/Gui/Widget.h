#pragma once
// A widget: an object that owns a native top-level window and a 32-bit back buffer, and
// turns the window's messages into events for its listeners. As a PaintDevice it is its
// geometry's size; a Painter opened on it draws into the back buffer, whose rows may be
// wider (the buffer only grows: it is reallocated, transparent, when the geometry outgrows
// it, and kept when the widget shrinks).
//
// Events: each kind (WidgetEvent.h) has a list of listeners, called in registration order
// with the widget and a copy of the message. When a kind has no listener the widget does
// the default: most answer 0; close destroys the window; destroy posts the quit message
// (a live widget's window that goes away with nobody listening ends the loop);
// paint repaints; query end session always answers 1; mouse activate answers the
// window's stored answer. Listeners are not owned, and are added only while the widget
// is set up, before messages flow.
//
// Deleting a widget leaves its parent object, lets go of its window first (so the
// messages of the window's destruction reach no listener and post no quit message),
// then destroys the window and the back buffer.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/PaintDevice.h"
#include "framework/Gui/ListenerInterfaces.h"
#include "framework/Gui/Object.h"
#include "framework/Gui/Window.h"
#include "framework/Platform/Types.h"

namespace Arbor::Gui {

class Widget : public Object, public Graphics::PaintDevice, public Graphics::BackBufferOwner {
public:
    // Creates the window (a top-level popup without owner, no size yet) and a 512 x 512
    // back buffer. Whether the window came to be: window().hasWindow().
    Widget();
    std::u16string className() const override;
    ~Widget() override;

    virtual bool show();
    virtual bool hide();
    virtual bool isVisible() const;
    // Keeps left and top.
    virtual void resize(int width, int height);
    // Keeps width and height.
    virtual void move(int x, int y);
    // Stores the rectangle (screen pixels, right and bottom exclusive), moves the window
    // to it and reserves the back buffer for its size. Sizes that would overflow stop
    // at the largest coordinate.
    virtual void setGeometry(const Platform::Rect& geometry);
    virtual void setGeometry(int x, int y, int width, int height);
    // Shows the back buffer in the window. A plain widget cannot yet: the window service
    // has no copy from a buffer into an ordinary window, so it answers false.
    virtual bool repaint();
    virtual bool paint(const Platform::Rect& rect);
    virtual bool paint(int x, int y, int width, int height);

    // Event handlers, one per event kind, fed by the window.
    virtual HandlerResult onUserMessage();
    virtual HandlerResult onAppMessage();
    virtual HandlerResult onCreate();
    virtual HandlerResult onMove();
    virtual HandlerResult onSize();
    virtual HandlerResult onPaint();
    virtual HandlerResult onClose();
    virtual HandlerResult onQueryEndSession();
    virtual HandlerResult onEndSession();
    virtual HandlerResult onDestroy();
    virtual HandlerResult onSetCursor();
    virtual HandlerResult onMouseActivate();
    virtual HandlerResult onDisplayChange();
    virtual HandlerResult onKeyDown();
    virtual HandlerResult onKeyUp();
    virtual HandlerResult onChar();
    virtual HandlerResult onSysKeyDown();
    virtual HandlerResult onSysKeyUp();
    virtual HandlerResult onSysChar();
    virtual HandlerResult onMenuItem();
    virtual HandlerResult onAccelerator();
    virtual HandlerResult onTimer();
    virtual HandlerResult onHScroll();
    virtual HandlerResult onVScroll();
    virtual HandlerResult onMouseMove();
    virtual HandlerResult onMouseDown();
    virtual HandlerResult onMouseUp();
    virtual HandlerResult onDoubleClick();
    virtual HandlerResult onWheel();
    virtual HandlerResult onCaptureChanged();
    virtual HandlerResult onSizeMove();
    virtual HandlerResult onUnrouted();
    virtual HandlerResult onInitMenuPopup();
    virtual HandlerResult onWomDone();

    // Listener registration; a null listener is refused.
    bool addOnAppListener(OnAppListener* listener);
    bool addOnQueryEndSessionListener(OnQueryEndSessionListener* listener);
    bool addOnEndSessionListener(OnEndSessionListener* listener);
    bool addOnCursorEnterListener(OnCursorEnterListener* listener);
    bool addOnResolutionChangeListener(OnResolutionChangeListener* listener);
    bool addOnMenuItemListener(OnMenuItemListener* listener);
    bool addOnAcceleratorListener(OnAcceleratorListener* listener);
    bool addOnMouseMoveListener(OnMouseMoveListener* listener);
    bool addOnMouseDownListener(OnMouseDownListener* listener);
    bool addOnMouseUpListener(OnMouseUpListener* listener);
    bool addOnMouseDoubleClickListener(OnMouseDoubleClickListener* listener);
    bool addOnCaptureChangedListener(OnCaptureChangedListener* listener);
    bool addOnInitMenuPopupListener(OnInitMenuPopupListener* listener);
    bool addOnWomDoneListener(OnWomDoneListener* listener);
    bool addEventListener(WidgetEvent event, WidgetEventListener* listener);
    std::size_t listenerCount(WidgetEvent event) const;

    const Platform::Rect& geometry() const { return geometry_; }
    Window& window() { return *window_; }
    const Window& window() const { return *window_; }

    // PaintDevice: the geometry's size; format, bits and isNull of the back buffer.
    std::int32_t width() const override;
    std::int32_t height() const override;
    std::int32_t format() const override;
    Graphics::Pixel* bits() override;
    const Graphics::Pixel* bits() const override;
    bool isNull() const override;
    Graphics::BufferedImage* backBuffer() override { return buffer_.get(); }

protected:
    // For subclasses with their own kind of window; the widget attaches itself to it.
    explicit Widget(std::unique_ptr<Window> window);
    // Stores the geometry and grows the buffer, without touching the window.
    void storeGeometry(const Platform::Rect& geometry);
    const Graphics::BufferedImage* buffer() const { return buffer_.get(); }

private:
    struct Entry {
        void* listener;
        void (*call)(void* listener, Widget& sender, WidgetEvent event, const WindowMessage& message);
    };
    void add(WidgetEvent event, Entry entry);
    // Calls the listeners of the kind with a copy of the window's message; false when
    // there are none (the caller then does the default).
    bool notify(WidgetEvent event);

    Platform::Rect geometry_{};
    std::unique_ptr<Window> window_;
    std::unique_ptr<Graphics::BufferedImage> buffer_;
    std::array<std::vector<Entry>, widgetEventCount> listeners_;
};

}  // namespace Arbor::Gui
