#include "framework/Json/JsonReader.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "framework/Json/ArrayData.h"
#include "framework/Json/JsonDocument.h"
#include "framework/Json/ObjectData.h"

namespace Arbor::Json {

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// 10^e for e >= 0 by repeated squaring; none when a step would pass `limit`.
std::optional<double> powerOfTen(std::int64_t e, double limit) {
    double result = 1.0;
    double square = 10.0;
    while (e > 0) {
        if (e & 1) {
            if (result > limit / square) return std::nullopt;
            result *= square;
        }
        e >>= 1;
        if (e > 0) {
            if (square > limit / square) return std::nullopt;
            square *= square;
        }
    }
    return result;
}

}  // namespace

double convertNumberToken(std::u16string_view token) {
    const bool negative = !token.empty() && token[0] == u'-';
    const bool integral = token.find_first_of(u".eE") == std::u16string_view::npos;
    if (integral) {
        std::uint32_t value = 0;
        for (char16_t c : token) {
            if (isDigit(c)) value = value * 10u + static_cast<std::uint32_t>(c - u'0');
        }
        if (negative) value = 0u - value;
        return static_cast<double>(static_cast<std::int32_t>(value));
    }
    double mantissa = 0.0;
    std::int64_t fractionDigits = 0;
    std::int64_t exponent = 0;
    bool exponentNegative = false;
    std::size_t i = negative ? 1 : 0;
    for (; i < token.size() && isDigit(token[i]); ++i) mantissa = mantissa * 10.0 + (token[i] - u'0');
    if (i < token.size() && token[i] == u'.') {
        for (++i; i < token.size() && isDigit(token[i]); ++i) {
            mantissa = mantissa * 10.0 + (token[i] - u'0');
            ++fractionDigits;
        }
    }
    if (i < token.size() && (token[i] == u'e' || token[i] == u'E')) {
        ++i;
        if (i < token.size() && (token[i] == u'+' || token[i] == u'-')) exponentNegative = token[i++] == u'-';
        // Saturate: anything this large leaves the double range anyway.
        for (; i < token.size() && isDigit(token[i]); ++i) {
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (token[i] - u'0');
        }
    }
    const std::int64_t scale = (exponentNegative ? -exponent : exponent) - fractionDigits;
    double value = mantissa;
    if (scale > 0) {
        auto power = powerOfTen(scale, DBL_MAX);
        if (!power) return std::numeric_limits<double>::infinity();
        value *= *power;
    } else if (scale < 0) {
        // 10^-scale must stay at or above the smallest normal double.
        auto power = powerOfTen(-scale, 1.0 / DBL_MIN);
        if (!power) return std::numeric_limits<double>::infinity();
        value /= *power;
    }
    return negative ? -value : value;
}

JsonReader::JsonReader(std::u16string_view text) : text_(text) {
    // Positions are 32-bit; a longer text cannot be read (readRoot fails).
    length_ = text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
                  ? -1
                  : static_cast<std::int32_t>(text.size());
}

std::optional<JsonValue> JsonReader::readRoot() {
    if (length_ < 0) return std::nullopt;
    skipWhitespace();
    if (atEnd()) return std::nullopt;
    JsonValue root;
    bool ok = false;
    if (peek() == u'[') {
        ok = readArray(root);
    } else if (peek() == u'{') {
        ok = readObject(root);
    }
    if (!ok) return std::nullopt;
    return root;
}

void JsonReader::skipWhitespace() {
    while (!atEnd()) {
        const char16_t c = peek();
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r') break;
        ++pos_;
    }
}

bool JsonReader::readValue(JsonValue& out) {
    skipWhitespace();
    if (atEnd()) return false;
    const char16_t c = peek();
    switch (c) {
        case u'"': {
            std::u16string s;
            if (!readString(s)) return false;
            out = JsonValue(std::move(s));
            return true;
        }
        case u'[': return readArray(out);
        case u'{': return readObject(out);
        case u't':
            if (!readLiteral(u"true")) return false;
            out = JsonValue(true);
            return true;
        case u'f':
            if (!readLiteral(u"false")) return false;
            out = JsonValue(false);
            return true;
        case u'n':
            if (!readLiteral(u"null")) return false;
            out = JsonValue();
            return true;
        case u']': return false;
        default: {
            double n = 0;
            if (!readNumber(n)) return false;
            out = JsonValue(n);
            return true;
        }
    }
}

bool JsonReader::readLiteral(std::u16string_view word) {
    for (char16_t w : word) {
        if (atEnd() || peek() != w) return false;
        ++pos_;
    }
    // The literal must not end the text.
    return !atEnd();
}

bool JsonReader::readNumber(double& out) {
    const std::int32_t start = pos_;
    std::int32_t p = pos_;
    auto at = [&](std::int32_t i) -> char16_t { return i < length_ ? text_[static_cast<std::size_t>(i)] : u'\0'; };
    if (at(p) == u'-') ++p;
    bool valid = true;
    if (at(p) == u'0') {
        ++p;
    } else if (isDigit(at(p))) {
        while (isDigit(at(p))) ++p;
    } else {
        valid = false;
    }
    if (valid) {
        if (at(p) == u'.') {
            ++p;
            while (isDigit(at(p))) ++p;
        }
        if (at(p) == u'e' || at(p) == u'E') {
            ++p;
            if (at(p) == u'+' || at(p) == u'-') ++p;
            while (isDigit(at(p))) ++p;
        }
    }
    // A character that starts no number is an error here. (Read as an empty token
    // worth 0, it would let "[,1]" or {"a":} through as if a 0 stood there.)
    if (!valid) return false;
    if (p >= length_) return false;  // a number may not run to the end of the text
    pos_ = p;
    out = convertNumberToken(text_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(p - start)));
    return true;
}

bool JsonReader::readString(std::u16string& out) {
    ++pos_;  // the opening quote
    while (true) {
        if (atEnd()) return false;
        const char16_t c = peek();
        ++pos_;
        if (c == u'"') return true;
        if (c != u'\\') {
            out.push_back(c);
            continue;
        }
        if (atEnd()) return false;
        const char16_t e = peek();
        ++pos_;
        switch (e) {
            case u'"': out.push_back(u'"'); break;
            case u'\\': out.push_back(u'\\'); break;
            case u'/': out.push_back(u'/'); break;
            case u'b': out.push_back(u'\b'); break;
            case u'f': out.push_back(u'\f'); break;
            case u'n': out.push_back(u'\n'); break;
            case u'r': out.push_back(u'\r'); break;
            case u't': out.push_back(u'\t'); break;
            case u'u': {
                if (length_ - pos_ < 4) return false;
                unsigned unit = 0;
                for (int k = 0; k < 4; ++k) {
                    const int h = hexValue(peek());
                    if (h < 0) return false;
                    unit = unit * 16 + static_cast<unsigned>(h);
                    ++pos_;
                }
                out.push_back(static_cast<char16_t>(unit));
                break;
            }
            default: return false;
        }
    }
}

bool JsonReader::readArray(JsonValue& out) {
    ++pos_;  // '['
    if (++depth_ > kMaxDepth) return false;
    auto array = Private::makeData<Private::ArrayData>();
    skipWhitespace();
    if (!atEnd() && peek() == u']') {
        ++pos_;
        skipWhitespace();
    } else {
        while (true) {
            JsonValue element;
            if (!readValue(element)) return false;
            array->append(std::move(element));
            skipWhitespace();
            if (atEnd()) return false;
            const char16_t c = peek();
            ++pos_;
            skipWhitespace();
            if (c == u']') break;
            if (c != u',') return false;
        }
    }
    --depth_;
    out = JsonValue(array);
    return true;
}

bool JsonReader::readObject(JsonValue& out) {
    ++pos_;  // '{'
    if (++depth_ > kMaxDepth) return false;
    auto object = Private::makeData<Private::ObjectData>();
    skipWhitespace();
    if (!atEnd() && peek() == u'}') {
        ++pos_;
        skipWhitespace();
    } else {
        while (true) {
            skipWhitespace();
            if (atEnd() || peek() != u'"') return false;
            std::u16string key;
            if (!readString(key)) return false;
            skipWhitespace();
            if (atEnd() || peek() != u':') return false;
            ++pos_;
            skipWhitespace();
            JsonValue value;
            if (!readValue(value)) return false;
            object->set(key, std::move(value));
            skipWhitespace();
            if (atEnd()) return false;
            const char16_t c = peek();
            ++pos_;
            skipWhitespace();
            if (c == u'}') break;
            if (c != u',') return false;
        }
    }
    --depth_;
    out = JsonValue(object);
    return true;
}

std::optional<JsonValue> parse(std::u16string_view text) { return JsonReader(text).readRoot(); }

}  // namespace Arbor::Json
