#pragma once
// The native window of a layered widget: a popup that shows a premultiplied ARGB buffer
// with per-pixel alpha and stays out of the task bar (WS_EX_LAYERED | WS_EX_TOOLWINDOW).
#include <cstdint>

#include "framework/Gui/Window.h"
#include "framework/Platform/Types.h"

namespace Arbor::Gui {

class LayeredWindow : public Window {
public:
    explicit LayeredWindow(Widget* widget = nullptr) : Window(widget) {}

    std::u16string className() const override;
    // Titled "LayeredWindow".
    bool createPopup(Platform::WindowHandle owner = Platform::WindowHandle::None) override;

    // Shows `width` x `height` pixels from the top-left of the premultiplied rows at
    // `pixels` (`stride` pixels apart) at `position` on the screen, blended with the
    // constant `alpha`. `surface` is the native surface the rows belong to (the memory
    // DC of a DIB section on Win32), so that no copy is made where the system can read
    // it directly. False when the system refuses.
    bool updateLayered(const std::uint32_t* pixels, int stride, void* surface, int width, int height,
                       Platform::Point position, std::uint8_t alpha);
};

}  // namespace Arbor::Gui
