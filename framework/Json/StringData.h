#pragma once
#include <cstdint>
#include <string>

#include "framework/Json/JsonKind.h"

namespace Arbor::Json::Private {

// The payload of a string value. Not a container, so not a BaseData, but counted and
// deleted the same way.
class StringData {
public:
    explicit StringData(std::u16string text) : text_(std::move(text)) {}
    virtual ~StringData() = default;
    virtual JsonKind kind() const { return JsonKind::String; }

    StringData(const StringData&) = delete;
    StringData& operator=(const StringData&) = delete;

    const std::u16string& text() const { return text_; }

    void retain() { ++refCount_; }
    void release() {
        if (--refCount_ == 0) delete this;
    }
    std::int32_t refCount() const { return refCount_; }

private:
    std::u16string text_;
    std::int32_t refCount_ = 0;
};

}  // namespace Arbor::Json::Private
