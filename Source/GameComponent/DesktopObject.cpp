#include "Source/GameComponent/DesktopObject.h"

namespace Quenta::GameComponent {

DesktopObject& DesktopObject::instance() {
    static DesktopObject desktop;
    return desktop;
}

}  // namespace Quenta::GameComponent
