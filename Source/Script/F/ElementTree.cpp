#include "Source/Script/F/ElementTree.h"

namespace Quenta::Script {

Element& Element::addChild(std::u16string name) {
    children_.push_back(std::make_unique<Element>(std::move(name)));
    return *children_.back();
}

Element* Element::findChild(std::u16string_view name) const {
    for (const auto& child : children_) {
        if (child->name() == name) return child.get();
    }
    return nullptr;
}

}  // namespace Quenta::Script
