#pragma once
// The event kinds of a widget, one listener list each, in the order of the widget's
// handlers. One kind, Unrouted, has a list that no message feeds.
#include <cstddef>

namespace Arbor::Gui {

enum class WidgetEvent {
    UserMessage,
    AppMessage,
    Create,
    Move,
    Size,
    Paint,
    Close,
    QueryEndSession,
    EndSession,
    Destroy,
    SetCursor,
    MouseActivate,
    DisplayChange,
    KeyDown,
    KeyUp,
    Char,
    SysKeyDown,
    SysKeyUp,
    SysChar,
    MenuItem,
    Accelerator,
    Timer,
    HScroll,
    VScroll,
    MouseMove,
    MouseDown,
    MouseUp,
    DoubleClick,
    Wheel,
    CaptureChanged,
    SizeMove,
    Unrouted,
    InitMenuPopup,
    WomDone,
};

inline constexpr std::size_t widgetEventCount = static_cast<std::size_t>(WidgetEvent::WomDone) + 1;
static_assert(widgetEventCount == 34);

}  // namespace Arbor::Gui
