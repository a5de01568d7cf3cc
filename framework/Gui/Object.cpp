#include "framework/Gui/Object.h"

namespace Arbor::Gui {

std::u16string Object::className() const { return u"Object"; }

Object::~Object() = default;

}  // namespace Arbor::Gui
