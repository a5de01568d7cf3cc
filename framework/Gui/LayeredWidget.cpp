#include "framework/Gui/LayeredWidget.h"

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
    if (!image || image->isNull() || !image->dib()) return false;
    const int w = width() < 2 ? 1 : width();
    const int h = height() < 2 ? 1 : height();
    // Never read past the buffer: one that could not grow shows nothing.
    if (w > image->width() || h > image->height()) return false;
    const Rect& g = geometry();
    if (layeredWindow().updateLayered(image->bits(), image->width(), image->dib()->deviceContext(), w, h,
                                      Point{g.left, g.top}, alpha_)) {
        return true;
    }
    window().destroyWindow();
    return false;
}

}  // namespace Arbor::Gui
