#pragma once
// A JSON value: a kind code and a payload. Strings, arrays and objects are shared,
// reference-counted payloads; copying a handle shares them, and there is no copy on
// write, so every handle to an array or object sees changes made through any other.
//
// Include "framework/Json/Json.h" to get the payload classes and operations as well.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Json/DataRef.h"
#include "framework/Json/JsonKind.h"

namespace Arbor::Json {

namespace Private {
class BaseData;
class ArrayData;
class ObjectData;
class StringData;
}  // namespace Private

using ArrayRef = Private::DataRef<Private::ArrayData>;
using ObjectRef = Private::DataRef<Private::ObjectData>;

class JsonValue {
public:
    JsonValue() = default;  // null
    JsonValue(std::nullptr_t) {}
    JsonValue(bool b) : kind_(JsonKind::Boolean) { payload_.boolean = b ? 1 : 0; }
    JsonValue(double n) : kind_(JsonKind::Number) { payload_.number = n; }
    JsonValue(int n) : JsonValue(static_cast<double>(n)) {}
    JsonValue(std::u16string text);
    JsonValue(std::u16string_view text) : JsonValue(std::u16string(text)) {}
    JsonValue(const char16_t* text) : JsonValue(std::u16string(text)) {}
    // Shares a container payload (a null pointer gives null).
    explicit JsonValue(Private::BaseData* container);
    JsonValue(const ArrayRef& array);
    JsonValue(const ObjectRef& object);

    static JsonValue undefined();
    static JsonValue newArray();
    static JsonValue newObject();

    JsonValue(const JsonValue& o);
    JsonValue(JsonValue&& o) noexcept;
    JsonValue& operator=(const JsonValue& o);
    JsonValue& operator=(JsonValue&& o) noexcept;
    ~JsonValue();

    JsonKind kind() const { return kind_; }
    std::int32_t kindCode() const { return static_cast<std::int32_t>(kind_); }
    bool isNull() const { return kind_ == JsonKind::Null; }
    bool isUndefined() const { return kind_ == JsonKind::Undefined; }
    bool isBoolean() const { return kind_ == JsonKind::Boolean; }
    bool isNumber() const { return kind_ == JsonKind::Number; }
    bool isString() const { return kind_ == JsonKind::String; }
    bool isArray() const { return kind_ == JsonKind::Array; }
    bool isObject() const { return kind_ == JsonKind::Object; }

    // null "null"; boolean "true"/"false"; number its number text; string itself;
    // array "array"; object "object"; undefined "undefined".
    std::u16string toText() const;
    // boolean itself; number false only when equal to 0 (NaN gives true); string true
    // when not empty; array and object true; null and undefined false.
    bool toBool() const;
    // The number of a number value, else 0.
    double number() const { return kind_ == JsonKind::Number ? payload_.number : 0.0; }

    // The value's own array or object, or a new empty one not attached to the value.
    ArrayRef asArray() const;
    ObjectRef asObject() const;
    // asObject, then the member's value, or undefined.
    JsonValue get(std::u16string_view key) const;
    // asArray, then the element, or undefined when index is not below the size.
    JsonValue at(std::size_t index) const;

    // The container payload of an array or object value, else null.
    Private::BaseData* container() const;
    // The string payload of a string value, else null.
    Private::StringData* stringData() const;

private:
    void releasePayload();

    JsonKind kind_ = JsonKind::Null;
    union Payload {
        std::uint8_t boolean;
        double number;
        Private::StringData* string;
        Private::BaseData* container;
    } payload_{};
};

}  // namespace Arbor::Json
