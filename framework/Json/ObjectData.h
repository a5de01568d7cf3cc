#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/Json/BaseData.h"
#include "framework/Json/ElementRef.h"
#include "framework/Json/JsonValue.h"

namespace Arbor::Json::Private {

// The payload of an object value: members in insertion order, each key at most once.
// Keys compare as exact UTF-16 code unit sequences (case matters).
class ObjectData final : public BaseData {
public:
    ObjectData() = default;
    JsonKind kind() const override { return JsonKind::Object; }

    std::size_t count() const { return members_.size(); }
    // The i-th key in insertion order; empty when i is not below the count.
    std::u16string keyAt(std::size_t i) const;
    // The i-th value; undefined when out of range.
    JsonValue valueAt(std::size_t i) const;
    // The position of a key, or count() when absent.
    std::size_t indexOf(std::u16string_view key) const;
    // The member's value, or undefined.
    JsonValue find(std::u16string_view key) const;
    // Present key: the value is replaced in place (the member keeps its position),
    // except that undefined removes the member. Absent key: a member is appended
    // (undefined appends nothing).
    void set(std::u16string_view key, JsonValue value);
    void erase(std::u16string_view key);
    // A reference to the member; when absent a member with a null value is appended first.
    ElementRef member(std::u16string_view key);
    // For i below the count, set of the i-th key; otherwise no effect.
    void setAt(std::size_t i, JsonValue value);

private:
    std::vector<std::pair<std::u16string, JsonValue>> members_;
    // Key -> position, so that lookups stay fast in large objects.
    std::unordered_map<std::u16string, std::size_t> index_;
};

}  // namespace Arbor::Json::Private
