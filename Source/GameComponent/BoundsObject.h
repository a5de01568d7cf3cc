#pragma once
// A scene object that is only a rectangle (the desktop). It adds nothing to the base;
// it names the role.
#include "Source/GameComponent/GameObject.h"

namespace Quenta::GameComponent {

class BoundsObject : public GameObject {
public:
    std::u16string className() const override { return u"BoundsObject"; }
};

}  // namespace Quenta::GameComponent
