#pragma once
// The reader behind Arbor::Json::parse.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Json/JsonValue.h"

namespace Arbor::Json {

class JsonReader {
public:
    static constexpr std::int32_t kMaxDepth = 1024;

    explicit JsonReader(std::u16string_view text);
    JsonReader(const JsonReader&) = delete;
    JsonReader& operator=(const JsonReader&) = delete;

    // The root array or object, or none.
    std::optional<JsonValue> readRoot();

private:
    bool atEnd() const { return pos_ >= length_; }
    char16_t peek() const { return text_[static_cast<std::size_t>(pos_)]; }
    void skipWhitespace();
    bool readValue(JsonValue& out);
    bool readArray(JsonValue& out);
    bool readObject(JsonValue& out);
    bool readString(std::u16string& out);
    bool readLiteral(std::u16string_view word);
    bool readNumber(double& out);

    std::u16string_view text_;
    std::int32_t pos_ = 0;
    std::int32_t length_ = 0;
    std::int32_t depth_ = 0;
};

// Converts a number token as the reader does: tokens without '.' and exponent as a
// 32-bit signed integer (digits modulo 2^32, then negated for '-'); others by scaling
// the accumulated digits by a power of ten, which becomes +infinity when that power
// leaves the range of normal doubles.
double convertNumberToken(std::u16string_view token);

}  // namespace Arbor::Json
