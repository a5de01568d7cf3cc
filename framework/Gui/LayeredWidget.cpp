#include "framework/Gui/LayeredWidget.h"

#include <algorithm>
#include <limits>

#include "framework/Graphics/DibImage32.h"
#include "framework/Platform/DibSection.h"

namespace Arbor::Gui {

using namespace Platform;

LayeredWidget::LayeredWidget() : Widget(std::make_unique<LayeredWindow>()) {}

LayeredWidget::~LayeredWidget() = default;

std::u16string LayeredWidget::className() const { return u"LayeredWidget"; }

LayeredWindow& LayeredWidget::layeredWindow() { return static_cast<LayeredWindow&>(window()); }

void LayeredWidget::setGeometry(const Rect& geometry) { storeGeometry(geometry); }

bool LayeredWidget::repaint() { return present(); }

bool LayeredWidget::paint(const Rect& rect) {
    setGeometry(rect);
    return present();
}

bool LayeredWidget::paint(int x, int y, int width, int height) {
    Widget::setGeometry(x, y, width, height);
    return present();
}

bool LayeredWidget::present() {
    if (!window().hasWindow()) return false;
    const Graphics::BufferedImage* image = buffer();
    const DibSection* surface = image && !image->isNull() && image->dib() ? image->dib()->section() : nullptr;
    if (!surface) return false;
    const int w = width() < 2 ? 1 : width();
    const int h = height() < 2 ? 1 : height();
    // Never read past the buffer: one that could not grow shows nothing.
    if (w > image->width() || h > image->height()) return false;
    // The shown rectangle keeps its size even at the far edge of the coordinate range.
    const Rect& g = geometry();
    const int left = std::min(g.left, std::numeric_limits<int>::max() - w);
    const int top = std::min(g.top, std::numeric_limits<int>::max() - h);
    if (!layeredWindow().updateLayered(*surface, Rect{left, top, left + w, top + h}, alpha_)) {
        // Presenting runs on the drawing thread; the window's own thread destroys it.
        window().requestDestroy();
        return false;
    }
    // Clicks on fully transparent pixels go to what lies below, as they do through a
    // layered window on Win32 by itself; backends that need a shape for that build it
    // here (and may skip it when the alpha did not change). A missing shape only means
    // the whole rectangle takes clicks, so its failure does not fail the present.
    windowService().setInputShapeFromAlpha(window().handle(), *surface, w, h);
    return true;
}

}  // namespace Arbor::Gui
