#pragma once
#include <cstdint>

#include "framework/Json/JsonKind.h"

namespace Arbor::Json::Private {

// Base of the container payloads. A payload deletes itself through its virtual
// destructor when the last handle lets go of it.
class BaseData {
public:
    virtual ~BaseData() = default;
    virtual JsonKind kind() const = 0;

    BaseData(const BaseData&) = delete;
    BaseData& operator=(const BaseData&) = delete;

    void retain() { ++refCount_; }
    void release() {
        if (--refCount_ == 0) delete this;
    }
    std::int32_t refCount() const { return refCount_; }

protected:
    BaseData() = default;

private:
    std::int32_t refCount_ = 0;
};

}  // namespace Arbor::Json::Private
