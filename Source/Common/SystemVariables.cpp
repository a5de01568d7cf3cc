#include "Source/Common/SystemVariables.h"

namespace Quenta::Common {

SystemVariables& SystemVariables::instance() {
    static SystemVariables variables;
    return variables;
}

std::optional<SystemVariables::Id> SystemVariables::find(std::u16string_view name) {
    return Interpreter::findSystemVariable(name);
}

std::u16string_view SystemVariables::name(Id id) { return Interpreter::systemVariableName(id); }

void SystemVariables::publishDesktop(double width, double height) {
    set(Id::Left, 0);
    set(Id::Top, 0);
    set(Id::Right, width);
    set(Id::Bottom, height);
    set(Id::Width, width);
    set(Id::Height, height);
}

void SystemVariables::publishCursor(double x, double y) {
    set(Id::MouseX, x);
    set(Id::MouseY, y);
}

}  // namespace Quenta::Common
