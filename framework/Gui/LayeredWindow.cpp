#include "framework/Gui/LayeredWindow.h"

#include "framework/Platform/Messages.h"

namespace Arbor::Gui {

using namespace Platform;

std::u16string LayeredWindow::className() const { return u"LayeredWindow"; }

bool LayeredWindow::createPopup(WindowHandle owner) {
    return createPopupWith(owner, WS_EX_LAYERED | WS_EX_TOOLWINDOW, u"LayeredWindow");
}

bool LayeredWindow::updateLayered(const DibSection& surface, const Rect& bounds, std::uint8_t alpha) {
    return hasWindow() && windowService().presentLayered(handle(), surface, bounds, alpha);
}

}  // namespace Arbor::Gui
