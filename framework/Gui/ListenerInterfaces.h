#pragma once
// How window messages reach the objects that listen to a widget. Each interface has one
// operation receiving the widget that sent the event and a copy of the message; the
// comment names the messages that feed it. Scene objects implement the fourteen named
// interfaces (all but OnQueryEndSessionListener, which no scene object registers);
// WidgetEventListener serves the event kinds without a named interface (create, close,
// destroy, keys, timers, ...).
#include "framework/Gui/WidgetEvent.h"
#include "framework/Gui/WindowMessage.h"

namespace Arbor::Gui {

class Widget;

#define ARBOR_GUI_LISTENER(Interface, operation)                          \
    class Interface {                                                     \
    public:                                                               \
        virtual ~Interface() = default;                                   \
        virtual void operation(Widget& sender, const WindowMessage& message) = 0; \
    }

ARBOR_GUI_LISTENER(OnAppListener, onAppMessage);                 // 0x8000 .. 0xBFFF
ARBOR_GUI_LISTENER(OnQueryEndSessionListener, onQueryEndSession);  // WM_QUERYENDSESSION
ARBOR_GUI_LISTENER(OnEndSessionListener, onEndSession);          // WM_ENDSESSION
ARBOR_GUI_LISTENER(OnCursorEnterListener, onCursorEnter);        // WM_SETCURSOR
ARBOR_GUI_LISTENER(OnResolutionChangeListener, onResolutionChange);  // WM_DISPLAYCHANGE
ARBOR_GUI_LISTENER(OnMenuItemListener, onMenuItem);              // WM_COMMAND from a menu
ARBOR_GUI_LISTENER(OnAcceleratorListener, onAccelerator);        // WM_COMMAND from an accelerator
ARBOR_GUI_LISTENER(OnMouseMoveListener, onMouseMove);            // WM_MOUSEMOVE
ARBOR_GUI_LISTENER(OnMouseDownListener, onMouseDown);            // any button-down message
ARBOR_GUI_LISTENER(OnMouseUpListener, onMouseUp);                // any button-up message
ARBOR_GUI_LISTENER(OnMouseDoubleClickListener, onMouseDoubleClick);  // any double click
ARBOR_GUI_LISTENER(OnCaptureChangedListener, onCaptureChanged);  // WM_CAPTURECHANGED
ARBOR_GUI_LISTENER(OnInitMenuPopupListener, onInitMenuPopup);    // WM_INITMENUPOPUP
ARBOR_GUI_LISTENER(OnWomDoneListener, onWomDone);                // MM_WOM_DONE

// Any event kind, given the kind it listens to at registration.
class WidgetEventListener {
public:
    virtual ~WidgetEventListener() = default;
    virtual void onWidgetEvent(Widget& sender, WidgetEvent event, const WindowMessage& message) = 0;
};

#undef ARBOR_GUI_LISTENER

}  // namespace Arbor::Gui
