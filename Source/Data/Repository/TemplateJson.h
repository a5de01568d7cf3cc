#pragma once
// Reading template members with the lenient conversions of the JSON model: a missing
// or mistyped member is never an error, it just reads as a default.
#include <cstdint>

#include "framework/Json/JsonValue.h"

namespace Quenta::Data::Repository {

// "InputType": a boolean gives 0 or 1; a number is truncated toward zero (and held in
// 32 bits); a string is an optional "-" and decimal digits only (else 0); anything
// else 0.
std::int32_t readInputType(const Arbor::Json::JsonValue& value);

}  // namespace Quenta::Data::Repository
