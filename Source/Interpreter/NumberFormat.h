#pragma once
// Number formatting and rounding for the core built-ins. Formatting never depends on
// the C locale: the decimal point is always ".".
#include <cstdint>
#include <string>

namespace Quenta::Interpreter {

// Fixed notation with `decimals` digits after the point, as "%.nf" prints it
// ("inf", "-inf" and "nan" for the non-finite values). decimals is clamped to 0..20.
std::u16string formatFixed(double value, int decimals);

// Rounded half away from zero, floor and ceiling, each as a 32-bit integer: results
// beyond the 32-bit range saturate at its ends and NaN gives 0.
std::int32_t roundHalfAwayToInt32(double value);
std::int32_t floorToInt32(double value);
std::int32_t ceilToInt32(double value);

}  // namespace Quenta::Interpreter
