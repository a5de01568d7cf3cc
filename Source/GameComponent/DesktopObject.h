#pragma once
// The root of the scene: the whole desktop, in desktop coordinates (origin at the
// virtual screen's top-left corner, so its own x and y stay 0). One per process.
// Attaching to it makes an object a top-level scene object.
#include "Source/GameComponent/BoundsObject.h"

namespace Quenta::GameComponent {

class DesktopObject : public BoundsObject {
public:
    static DesktopObject& instance();
    // Tests make desktops of their own; the program uses instance().
    DesktopObject() = default;

    std::u16string className() const override { return u"DesktopObject"; }
    bool isView() const override { return false; }

    // The virtual screen's origin in screen coordinates: screen = desktop + origin.
    int originX() const { return originX_; }
    int originY() const { return originY_; }
    // Takes the desktop rectangle (origin and size) from the frame loop.
    void setDesktop(int originX, int originY, int width, int height);

private:
    int originX_ = 0;
    int originY_ = 0;
};

}  // namespace Quenta::GameComponent
