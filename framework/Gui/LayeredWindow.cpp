#include "framework/Gui/LayeredWindow.h"

#include "framework/Platform/Messages.h"

namespace Arbor::Gui {

using namespace Platform;

std::u16string LayeredWindow::className() const { return u"LayeredWindow"; }

bool LayeredWindow::createPopup(WindowHandle owner) {
    return createPopupWith(owner, WS_EX_LAYERED | WS_EX_TOOLWINDOW, u"LayeredWindow");
}

bool LayeredWindow::updateLayered(const std::uint32_t* pixels, int stride, void* surface, int width, int height,
                                  Point position, std::uint8_t alpha) {
    if (!hasWindow() || !pixels || width <= 0 || height <= 0 || stride < width) return false;
    // PENDING: the window service's layered present.
    (void)surface;
    (void)position;
    (void)alpha;
    return false;
}

}  // namespace Arbor::Gui
