#include "framework/Json/ArrayData.h"

#include <algorithm>

namespace Arbor::Json::Private {

JsonValue ArrayData::at(std::size_t index) const {
    if (index >= elements_.size()) return JsonValue::undefined();
    return elements_[index];
}

void ArrayData::append(JsonValue value) {
    // Grow by half the capacity, at least to what is needed.
    if (elements_.size() == elements_.capacity()) {
        elements_.reserve(std::max(elements_.capacity() + elements_.capacity() / 2, elements_.size() + 1));
    }
    elements_.push_back(std::move(value));
}

ElementRef ArrayData::element(std::size_t index) { return ElementRef(JsonValue(static_cast<BaseData*>(this)), false, index); }

bool ArrayData::replace(std::size_t index, JsonValue value) {
    if (index >= elements_.size()) return false;
    elements_[index] = std::move(value);
    return true;
}

}  // namespace Arbor::Json::Private
