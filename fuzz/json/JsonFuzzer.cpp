// Arbitrary text through the JSON reader; whatever it accepts must be written in both
// layouts, and what is written must read again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Json/Json.h"
#include "framework/Text/Utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks how the rest becomes text: UTF-8 as files are read, or raw
    // UTF-16 code units so that lone surrogates and every control unit appear too.
    std::u16string text;
    if (data[0] & 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    } else {
        text = Arbor::Text::fromUtf8(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    }
    auto root = Arbor::Json::parse(text);
    if (!root) return 0;
    if (!root->isArray() && !root->isObject()) __builtin_trap();
    for (bool compact : {true, false}) {
        const std::u16string written = Arbor::Json::write(*root, compact);
        auto again = Arbor::Json::parse(written);
        if (!again) __builtin_trap();
        if (Arbor::Json::write(*again, compact).size() == 0) __builtin_trap();
    }
    // Walk the tree through the conversions.
    if (root->isObject()) {
        auto obj = root->asObject();
        for (std::size_t i = 0; i < obj->count(); ++i) {
            (void)obj->valueAt(i).toText();
            (void)obj->valueAt(i).toBool();
            (void)root->get(obj->keyAt(i));
        }
    } else {
        auto arr = root->asArray();
        for (std::size_t i = 0; i < arr->size(); ++i) (void)arr->at(i).toText();
    }
    return 0;
}
