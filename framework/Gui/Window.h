#pragma once
// The native window of a widget: a top-level popup that hands the messages its widget
// listens to over to the widget (Widget.h), and the rest to the system. A window whose
// widget has let go of it (detachWidget) handles everything as a plain WindowsWindow.
#include <string>
#include <string_view>

#include "framework/Gui/WindowsWindow.h"

namespace Arbor::Gui {

class Widget;

class Window : public WindowsWindow {
public:
    explicit Window(Widget* widget = nullptr) : widget_(widget) {}
    ~Window() override;

    std::u16string className() const override;
    bool setTitle(std::u16string_view title) override;
    // The title as last set here.
    std::u16string title() const override { return title_; }

    Widget* widget() const { return widget_; }
    void attachWidget(Widget* widget) { widget_ = widget; }
    void detachWidget() { widget_ = nullptr; }

    // Handlers that feed the widget; without a widget they are the plain ones.
#define ARBOR_GUI_OVERRIDE_HANDLER(name) HandlerResult name() override;
    ARBOR_GUI_WINDOW_HANDLERS(ARBOR_GUI_OVERRIDE_HANDLER)
#undef ARBOR_GUI_OVERRIDE_HANDLER

    // Creates the native window: a top-level popup titled "Window", owned by `owner`
    // when one is given, at the origin with no size until the widget places it.
    virtual bool createPopup(Platform::WindowHandle owner = Platform::WindowHandle::None);
    // Whether moves and sizes count the client area (they do not: these popups are frameless).
    virtual bool usesClientSize() const { return false; }

protected:
    bool createPopupWith(Platform::WindowHandle owner, std::uint32_t exStyle, std::u16string_view title);

private:
    Widget* widget_;
    std::u16string title_;
};

}  // namespace Arbor::Gui
