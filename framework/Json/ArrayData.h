#pragma once
#include <cstddef>
#include <vector>

#include "framework/Json/BaseData.h"
#include "framework/Json/ElementRef.h"
#include "framework/Json/JsonValue.h"

namespace Arbor::Json::Private {

// The payload of an array value.
class ArrayData final : public BaseData {
public:
    ArrayData() = default;
    JsonKind kind() const override { return JsonKind::Array; }

    std::size_t size() const { return elements_.size(); }
    // The element, or undefined beyond the end.
    JsonValue at(std::size_t index) const;
    void append(JsonValue value);
    // A reference to slot i; assigning through it changes the slot only while i is
    // below the size (there is no growth through a reference).
    ElementRef element(std::size_t index);
    // Replaces element i when i is below the size; false otherwise.
    bool replace(std::size_t index, JsonValue value);

private:
    std::vector<JsonValue> elements_;
};

}  // namespace Arbor::Json::Private
