#include "Source/Interpreter/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "framework/Text/Utf.h"

namespace Quenta::Interpreter {

namespace {

std::int32_t saturateToInt32(double whole) {
    if (std::isnan(whole)) {
        return 0;
    }
    if (whole >= 2147483647.0) {
        return 2147483647;
    }
    if (whole <= -2147483648.0) {
        return -2147483647 - 1;
    }
    return static_cast<std::int32_t>(whole);
}

}  // namespace

std::u16string formatFixed(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 20);
    if (std::isnan(value)) {
        return std::signbit(value) ? u"-nan" : u"nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? u"-inf" : u"inf";
    }
    // The largest double has 309 integer digits; 20 decimals, sign and point fit too.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc{}) {
        return {};
    }
    return Arbor::Text::fromAscii(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

std::int32_t roundHalfAwayToInt32(double value) {
    return saturateToInt32(std::round(value));
}

std::int32_t floorToInt32(double value) {
    return saturateToInt32(std::floor(value));
}

std::int32_t ceilToInt32(double value) {
    return saturateToInt32(std::ceil(value));
}

}  // namespace Quenta::Interpreter
