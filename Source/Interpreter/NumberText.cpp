#include "Source/Interpreter/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace Quenta::Interpreter {

std::int32_t stringToInt(std::u16string_view text) {
    if (text.empty()) {
        return 0;
    }
    bool negative = false;
    if (text.front() == u'-') {
        negative = true;
        text.remove_prefix(1);
    }
    std::uint32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return 0;
        }
        value = value * 10u + static_cast<std::uint32_t>(c - u'0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

namespace {
bool isWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
}  // namespace

double stringToNumber(std::u16string_view text, double fallback) {
    if (text.empty()) {
        return fallback;
    }
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && isWhiteSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    double mantissa = 0.0;
    // Kept well inside int range: anything beyond +-256 falls back anyway.
    constexpr long kClamp = 100000;
    long exponent = 0;
    bool seenPoint = false;
    for (; i < n; ++i) {
        const char16_t c = text[i];
        if (isDigit(c)) {
            mantissa = mantissa * 10.0 + static_cast<double>(c - u'0');
            if (seenPoint && exponent > -kClamp) {
                --exponent;
            }
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            expNegative = text[i] == u'-';
            ++i;
        }
        long written = 0;
        for (; i < n && isDigit(text[i]); ++i) {
            if (written < kClamp) {
                written = written * 10 + (text[i] - u'0');
            }
        }
        exponent += expNegative ? -written : written;
    }
    // The exponent limit holds whatever the mantissa, so "0e300" gives the fallback too.
    const long magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 256) {
        return fallback;
    }
    if (mantissa == 0.0) {
        // Nothing to scale; a zero never overflows or underflows.
        return negative ? -0.0 : 0.0;
    }
    // 10^magnitude by repeated squaring; below 256 no square overflows.
    double scale = 1.0;
    double square = 10.0;
    for (long e = magnitude; e != 0; e >>= 1) {
        if (e & 1) {
            scale *= square;
        }
        square *= square;
    }
    double result = exponent < 0 ? mantissa / scale : mantissa * scale;
    if (!(result <= std::numeric_limits<double>::max()) ||
        result < std::numeric_limits<double>::min()) {
        return fallback;
    }
    return negative ? -result : result;
}

std::int32_t truncateToInt(double value) {
    // The open bounds keep every value that truncates into range, and exclude NaN.
    if (value > -2147483649.0 && value < 2147483648.0) {
        return static_cast<std::int32_t>(value);
    }
    return std::numeric_limits<std::int32_t>::min();
}

std::u16string intToText(std::int32_t value) {
    char16_t buffer[16];
    size_t pos = sizeof(buffer) / sizeof(buffer[0]);
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value)
                                        : static_cast<std::uint32_t>(value);
    do {
        buffer[--pos] = static_cast<char16_t>(u'0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (value < 0) {
        buffer[--pos] = u'-';
    }
    return std::u16string(buffer + pos, buffer + sizeof(buffer) / sizeof(buffer[0]));
}

std::string formatShortest(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

}  // namespace Quenta::Interpreter
