#pragma once
// The script's own number parsing and formatting. They follow fixed rules of the
// language and never consult the C locale.
#include <cstdint>
#include <string>
#include <string_view>

namespace Quenta::Interpreter {

// Text to 32-bit integer: empty gives 0; a leading "-" negates the rest; otherwise the
// text must be decimal digits only (accumulated with 32-bit wrap-around), or the
// result is 0.
std::int32_t stringToInt(std::u16string_view text);

// Text to double: optional leading white space and sign, digits with at most one
// decimal point, optional exponent; parsing stops at the first other character.
// Empty text, a total decimal exponent of magnitude 256 or more, and scaling that
// overflows or drops below the smallest normal double give `fallback`.
double stringToNumber(std::u16string_view text, double fallback);

// Double to 32-bit integer, truncating toward zero. NaN and values outside the 32-bit
// range give INT32_MIN, as the x86 conversion instruction does, instead of undefined
// behaviour.
std::int32_t truncateToInt(double value);

// Decimal text of an integer ("-2").
std::u16string intToText(std::int32_t value);

// The shortest text that reads back to the same double ("0.30000000000000004", "3",
// "1e+300", "inf", "-inf", "nan"); used to show numbers to authors.
std::string formatShortest(double value);

}  // namespace Quenta::Interpreter
