#pragma once
// The widget every character and balloon is: its window shows the back buffer with
// per-pixel alpha, blended with a constant alpha (255 at creation). The window is placed
// by present, not by setGeometry. Each frame its owner clears the buffer, draws, and
// calls present once.
#include <cstdint>

#include "framework/Gui/LayeredWindow.h"
#include "framework/Gui/Widget.h"

namespace Arbor::Gui {

class LayeredWidget : public Widget {
public:
    LayeredWidget();
    std::u16string className() const override;
    ~LayeredWidget() override;

    // Stores the geometry and grows the back buffer; the window follows at present.
    void setGeometry(const Platform::Rect& geometry) override;
    using Widget::setGeometry;
    // All three show the buffer: repaint as it is, paint after taking the new geometry.
    bool repaint() override;
    bool paint(const Platform::Rect& rect) override;
    bool paint(int x, int y, int width, int height) override;

    // Shows the top-left part of the back buffer, of the geometry's size (a side below 2
    // counts as 1, so an empty widget shows one pixel rather than failing), at the
    // geometry's position; then the window takes clicks only on pixels that are not fully
    // transparent. When the system refuses, the window is destroyed (at once on its own
    // thread, else through the destroy request; the widget's destroy handling follows);
    // false then, and when there is no window or the buffer could not
    // grow to the geometry's size.
    bool present();

    std::uint8_t alpha() const { return alpha_; }
    void setAlpha(std::uint8_t alpha) { alpha_ = alpha; }

    LayeredWindow& layeredWindow();

private:
    std::uint8_t alpha_ = 255;
};

}  // namespace Arbor::Gui
