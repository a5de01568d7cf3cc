#pragma once
// The root of the framework's object family: an identity from the shared pool and the
// parent and child links (BaseObject.h). Every class names itself through className.
#include <string>

#include "framework/Gui/BaseObject.h"

namespace Arbor::Gui {

class Object : public base_object<Object> {
public:
    Object() = default;
    virtual std::u16string className() const;
    ~Object() override;
};

}  // namespace Arbor::Gui
