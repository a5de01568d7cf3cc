#pragma once
// Reading a JSON document from UTF-16 text and writing one back.
#include <optional>
#include <string>
#include <string_view>

#include "framework/Json/JsonValue.h"

namespace Arbor::Json {

// The root (always an array or an object) of a document; none on any syntax error,
// nesting deeper than 1024, or a root that is neither. Text after the root's closing
// bracket is not examined.
std::optional<JsonValue> parse(std::u16string_view text);

// The text of a root array or object; the empty string for any other value (and for a
// container nested so deep, or so cyclic, that it cannot be written).
// compact: no spaces or line breaks. Otherwise four spaces per level, one element per
// line, and a line break after the root.
std::u16string write(const JsonValue& root, bool compact);

// The number text used by the writer and by toText (which differs only in giving
// "inf", "-inf" or "nan" where the writer gives null).
std::u16string numberText(double n);

}  // namespace Arbor::Json
