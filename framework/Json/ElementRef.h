#pragma once
#include <cstddef>

#include "framework/Json/JsonValue.h"

namespace Arbor::Json {

// Names one slot of a container: the container, whether it is an object, and an
// index. Reading yields a copy of the slot's value; assigning replaces it (for an
// object as ObjectData::setAt does, for an array only while the index is in range).
class ElementRef {
public:
    ElementRef(JsonValue container, bool isObject, std::size_t index)
        : container_(std::move(container)), isObject_(isObject), index_(index) {}

    JsonValue get() const;
    operator JsonValue() const { return get(); }
    ElementRef& operator=(const JsonValue& value);
    ElementRef& operator=(const ElementRef& other) { return *this = other.get(); }

    bool isObject() const { return isObject_; }
    std::size_t index() const { return index_; }

private:
    JsonValue container_;
    bool isObject_;
    std::size_t index_;
};

}  // namespace Arbor::Json
