#include "Source/Data/Repository/TemplateJson.h"

#include <cmath>
#include <limits>
#include <string>

namespace Quenta::Data::Repository {

std::int32_t readInputType(const Arbor::Json::JsonValue& value) {
    if (value.isBoolean()) return value.toBool() ? 1 : 0;
    if (value.isNumber()) {
        const double n = std::trunc(value.number());
        // NaN and numbers beyond 32 bits have no truncation; they read as the nearest
        // value that has one (NaN as 0).
        if (std::isnan(n)) return 0;
        if (n >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
            return std::numeric_limits<std::int32_t>::max();
        }
        if (n <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
            return std::numeric_limits<std::int32_t>::min();
        }
        return static_cast<std::int32_t>(n);
    }
    if (value.isString()) {
        const std::u16string text = value.toText();
        std::size_t i = 0;
        const bool negative = !text.empty() && text[0] == u'-';
        if (negative) i = 1;
        if (i == text.size()) return 0;
        std::uint32_t magnitude = 0;  // digits beyond 32 bits wrap around
        for (; i < text.size(); ++i) {
            if (text[i] < u'0' || text[i] > u'9') return 0;
            magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[i] - u'0');
        }
        if (negative) magnitude = 0u - magnitude;
        return static_cast<std::int32_t>(magnitude);
    }
    return 0;
}

}  // namespace Quenta::Data::Repository
