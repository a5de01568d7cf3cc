#include "framework/Json/ElementRef.h"

#include "framework/Json/ArrayData.h"
#include "framework/Json/ObjectData.h"

namespace Arbor::Json {

JsonValue ElementRef::get() const {
    if (isObject_) return container_.asObject()->valueAt(index_);
    return container_.asArray()->at(index_);
}

ElementRef& ElementRef::operator=(const JsonValue& value) {
    if (isObject_) {
        container_.asObject()->setAt(index_, value);
    } else {
        container_.asArray()->replace(index_, value);
    }
    return *this;
}

}  // namespace Arbor::Json
