#include "Source/Common/SystemVariables.h"

namespace Quenta::Common {

namespace {
constexpr std::array<std::u16string_view, static_cast<size_t>(SystemVariables::Id::Count)> kNames = {
    u"Left", u"Top", u"Right", u"Bottom", u"Width", u"Height", u"MouseX", u"MouseY"};
}

SystemVariables& SystemVariables::instance() {
    static SystemVariables variables;
    return variables;
}

std::optional<SystemVariables::Id> SystemVariables::find(std::u16string_view name) {
    for (size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == name) return static_cast<Id>(i);
    }
    return std::nullopt;
}

std::u16string_view SystemVariables::name(Id id) { return kNames[index(id)]; }

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
