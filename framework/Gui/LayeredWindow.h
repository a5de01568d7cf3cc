#pragma once
// The native window of a layered widget: a popup that shows a premultiplied ARGB buffer
// with per-pixel alpha and stays out of the task bar (WS_EX_LAYERED | WS_EX_TOOLWINDOW).
#include <cstdint>

#include "framework/Gui/Window.h"
#include "framework/Platform/DibSection.h"
#include "framework/Platform/Types.h"

namespace Arbor::Gui {

class LayeredWindow : public Window {
public:
    explicit LayeredWindow(Widget* widget = nullptr) : Window(widget) {}

    std::u16string className() const override;
    // Titled "LayeredWindow".
    bool createPopup(Platform::WindowHandle owner = Platform::WindowHandle::None) override;

    // Shows the top-left bounds-sized corner of the premultiplied surface at the bounds'
    // position, blended with the constant `alpha`, and gives the window that size: one
    // layered-window update, read straight from the surface. False when the system refuses.
    bool updateLayered(const Platform::DibSection& surface, const Platform::Rect& bounds, std::uint8_t alpha);
};

}  // namespace Arbor::Gui
