#pragma once
#include <cstdint>

namespace Arbor::Json {

// The kind of a JSON value. The codes are part of the interface: callers see them.
enum class JsonKind : std::int32_t {
    Null = 0,
    Boolean = 1,
    Number = 2,
    String = 3,
    Array = 4,
    Object = 5,
    Undefined = 6,  // the result of a lookup that found nothing
};

}  // namespace Arbor::Json
