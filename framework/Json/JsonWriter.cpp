#include "framework/Json/JsonWriter.h"

#include <charconv>
#include <cmath>

#include "framework/Json/ArrayData.h"
#include "framework/Json/JsonDocument.h"
#include "framework/Json/ObjectData.h"
#include "framework/Json/StringData.h"

namespace Arbor::Json {

std::u16string numberText(double n) {
    // Integral values of the 32-bit signed range print as integers; everything else
    // in fixed notation with six decimals. to_chars keeps this independent of the C
    // locale.
    char buffer[400];
    std::to_chars_result r;
    if (std::isfinite(n) && n == std::trunc(n) && n >= -2147483648.0 && n <= 2147483647.0) {
        r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int32_t>(n));
    } else {
        r = std::to_chars(buffer, buffer + sizeof buffer, n, std::chars_format::fixed, 6);
    }
    std::u16string text;
    for (const char* p = buffer; p < r.ptr; ++p) text.push_back(static_cast<char16_t>(*p));
    return text;
}

std::u16string write(const JsonValue& root, bool compact) { return JsonWriter(compact).writeRoot(root); }

std::u16string JsonWriter::writeRoot(const JsonValue& root) {
    if (!root.isArray() && !root.isObject()) return {};
    out_.clear();
    if (!writeValue(root, 0)) return {};
    if (!compact_) out_.push_back(u'\n');
    return std::move(out_);
}

void JsonWriter::appendQuoted(std::u16string& out, const std::u16string& text) {
    static const char16_t hex[] = u"0123456789abcdef";
    out.push_back(u'"');
    for (char16_t c : text) {
        switch (c) {
            case u'"': out += u"\\\""; break;
            case u'\\': out += u"\\\\"; break;
            case 8: out += u"\\b"; break;
            case 9: out += u"\\t"; break;
            case 10: out += u"\\n"; break;
            case 12: out += u"\\f"; break;
            case 13: out += u"\\r"; break;
            default:
                if (c < 0x20) {
                    out += u"\\u00";
                    out.push_back(hex[c >> 4]);
                    out.push_back(hex[c & 0xF]);
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back(u'"');
}

void JsonWriter::indent(int level) { out_.append(static_cast<std::size_t>(level) * 4, u' '); }

bool JsonWriter::writeValue(const JsonValue& value, int level) {
    switch (value.kind()) {
        case JsonKind::Null:
        case JsonKind::Undefined: out_ += u"null"; return true;
        case JsonKind::Boolean: out_ += value.toBool() ? u"true" : u"false"; return true;
        case JsonKind::Number: {
            const double n = value.number();
            out_ += std::isfinite(n) ? numberText(n) : u"null";
            return true;
        }
        case JsonKind::String: appendQuoted(out_, value.stringData()->text()); return true;
        case JsonKind::Array:
        case JsonKind::Object: break;
    }
    if (level >= kMaxDepth) return false;
    const bool isObject = value.isObject();
    out_.push_back(isObject ? u'{' : u'[');
    if (!compact_) out_.push_back(u'\n');

    std::size_t count = 0;
    ArrayRef array;
    ObjectRef object;
    if (isObject) {
        object = value.asObject();
        count = object->count();
    } else {
        array = value.asArray();
        count = array->size();
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!compact_) indent(level + 1);
        if (isObject) {
            appendQuoted(out_, object->keyAt(i));
            out_ += compact_ ? u":" : u": ";
            if (!writeValue(object->valueAt(i), level + 1)) return false;
        } else {
            if (!writeValue(array->at(i), level + 1)) return false;
        }
        if (i + 1 < count) out_.push_back(u',');
        if (!compact_) out_.push_back(u'\n');
    }
    if (!compact_) indent(level);
    out_.push_back(isObject ? u'}' : u']');
    return true;
}

}  // namespace Arbor::Json
