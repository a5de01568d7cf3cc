#include "Source/GameComponent/DesktopObject.h"

namespace Quenta::GameComponent {

DesktopObject& DesktopObject::instance() {
    // Never destroyed: the exit sequence deletes its children, and objects that are
    // torn down late (tests, static owners) still find it.
    static DesktopObject* desktop = new DesktopObject;
    return *desktop;
}

void DesktopObject::setDesktop(int originX, int originY, int width, int height) {
    originX_ = originX;
    originY_ = originY;
    setBounds(0.0, 0.0, width, height);
}

}  // namespace Quenta::GameComponent
