#include "framework/Json/JsonValue.h"

#include <utility>

#include "framework/Json/ArrayData.h"
#include "framework/Json/JsonDocument.h"
#include "framework/Json/ObjectData.h"
#include "framework/Json/StringData.h"

namespace Arbor::Json {

JsonValue::JsonValue(std::u16string text) : kind_(JsonKind::String) {
    payload_.string = new Private::StringData(std::move(text));
    payload_.string->retain();
}

JsonValue::JsonValue(Private::BaseData* container) {
    if (!container) return;
    kind_ = container->kind();
    payload_.container = container;
    container->retain();
}

JsonValue::JsonValue(const ArrayRef& array) : JsonValue(static_cast<Private::BaseData*>(array.get())) {}
JsonValue::JsonValue(const ObjectRef& object) : JsonValue(static_cast<Private::BaseData*>(object.get())) {}

JsonValue JsonValue::undefined() {
    JsonValue v;
    v.kind_ = JsonKind::Undefined;
    return v;
}

JsonValue JsonValue::newArray() { return JsonValue(Private::makeData<Private::ArrayData>()); }
JsonValue JsonValue::newObject() { return JsonValue(Private::makeData<Private::ObjectData>()); }

JsonValue::JsonValue(const JsonValue& o) : kind_(o.kind_), payload_(o.payload_) {
    if (kind_ == JsonKind::String) {
        payload_.string->retain();
    } else if (kind_ == JsonKind::Array || kind_ == JsonKind::Object) {
        payload_.container->retain();
    }
}

JsonValue::JsonValue(JsonValue&& o) noexcept : kind_(o.kind_), payload_(o.payload_) {
    o.kind_ = JsonKind::Null;
    o.payload_ = {};
}

JsonValue& JsonValue::operator=(const JsonValue& o) {
    if (this != &o) {
        JsonValue copy(o);
        *this = std::move(copy);
    }
    return *this;
}

JsonValue& JsonValue::operator=(JsonValue&& o) noexcept {
    if (this != &o) {
        // Release last: the old payload may own the value being assigned.
        const JsonKind oldKind = kind_;
        const Payload oldPayload = payload_;
        kind_ = o.kind_;
        payload_ = o.payload_;
        o.kind_ = JsonKind::Null;
        o.payload_ = {};
        if (oldKind == JsonKind::String) {
            oldPayload.string->release();
        } else if (oldKind == JsonKind::Array || oldKind == JsonKind::Object) {
            oldPayload.container->release();
        }
    }
    return *this;
}

JsonValue::~JsonValue() { releasePayload(); }

void JsonValue::releasePayload() {
    if (kind_ == JsonKind::String) {
        payload_.string->release();
    } else if (kind_ == JsonKind::Array || kind_ == JsonKind::Object) {
        payload_.container->release();
    }
    kind_ = JsonKind::Null;
    payload_ = {};
}

std::u16string JsonValue::toText() const {
    switch (kind_) {
        case JsonKind::Null: return u"null";
        case JsonKind::Boolean: return payload_.boolean ? u"true" : u"false";
        case JsonKind::Number: return numberText(payload_.number);
        case JsonKind::String: return payload_.string->text();
        case JsonKind::Array: return u"array";
        case JsonKind::Object: return u"object";
        case JsonKind::Undefined: break;
    }
    return u"undefined";
}

bool JsonValue::toBool() const {
    switch (kind_) {
        case JsonKind::Boolean: return payload_.boolean != 0;
        case JsonKind::Number: return !(payload_.number == 0.0);
        case JsonKind::String: return !payload_.string->text().empty();
        case JsonKind::Array:
        case JsonKind::Object: return true;
        case JsonKind::Null:
        case JsonKind::Undefined: break;
    }
    return false;
}

ArrayRef JsonValue::asArray() const {
    if (kind_ == JsonKind::Array) return ArrayRef(static_cast<Private::ArrayData*>(payload_.container));
    return Private::makeData<Private::ArrayData>();
}

ObjectRef JsonValue::asObject() const {
    if (kind_ == JsonKind::Object) return ObjectRef(static_cast<Private::ObjectData*>(payload_.container));
    return Private::makeData<Private::ObjectData>();
}

JsonValue JsonValue::get(std::u16string_view key) const {
    if (kind_ != JsonKind::Object) return undefined();
    return static_cast<const Private::ObjectData*>(payload_.container)->find(key);
}

JsonValue JsonValue::at(std::size_t index) const {
    if (kind_ != JsonKind::Array) return undefined();
    return static_cast<const Private::ArrayData*>(payload_.container)->at(index);
}

Private::BaseData* JsonValue::container() const {
    return (kind_ == JsonKind::Array || kind_ == JsonKind::Object) ? payload_.container : nullptr;
}

Private::StringData* JsonValue::stringData() const {
    return kind_ == JsonKind::String ? payload_.string : nullptr;
}

}  // namespace Arbor::Json
