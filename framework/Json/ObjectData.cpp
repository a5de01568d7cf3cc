#include "framework/Json/ObjectData.h"

namespace Arbor::Json::Private {

std::u16string ObjectData::keyAt(std::size_t i) const {
    return i < members_.size() ? members_[i].first : std::u16string();
}

JsonValue ObjectData::valueAt(std::size_t i) const {
    return i < members_.size() ? members_[i].second : JsonValue::undefined();
}

std::size_t ObjectData::indexOf(std::u16string_view key) const {
    auto it = index_.find(std::u16string(key));
    return it == index_.end() ? members_.size() : it->second;
}

JsonValue ObjectData::find(std::u16string_view key) const {
    const std::size_t i = indexOf(key);
    return i < members_.size() ? members_[i].second : JsonValue::undefined();
}

void ObjectData::set(std::u16string_view key, JsonValue value) {
    const std::size_t i = indexOf(key);
    if (i < members_.size()) {
        if (value.isUndefined()) {
            erase(key);
        } else {
            // Move the old value out first: it may hold the last reference to
            // something that owns this object's caller.
            JsonValue old = std::move(members_[i].second);
            members_[i].second = std::move(value);
        }
        return;
    }
    if (value.isUndefined()) return;
    index_.emplace(std::u16string(key), members_.size());
    members_.emplace_back(std::u16string(key), std::move(value));
}

void ObjectData::erase(std::u16string_view key) {
    const std::size_t i = indexOf(key);
    if (i >= members_.size()) return;
    index_.erase(members_[i].first);
    JsonValue old = std::move(members_[i].second);
    members_.erase(members_.begin() + static_cast<std::ptrdiff_t>(i));
    for (std::size_t j = i; j < members_.size(); ++j) index_[members_[j].first] = j;
}

ElementRef ObjectData::member(std::u16string_view key) {
    std::size_t i = indexOf(key);
    if (i >= members_.size()) {
        set(key, JsonValue());
        i = members_.size() - 1;
    }
    return ElementRef(JsonValue(static_cast<BaseData*>(this)), true, i);
}

void ObjectData::setAt(std::size_t i, JsonValue value) {
    if (i >= members_.size()) return;
    const std::u16string key = members_[i].first;
    set(key, std::move(value));
}

}  // namespace Arbor::Json::Private
