#include "Source/GameComponent/ScriptObject/TextColor.h"

#include <array>
#include <string>
#include <utility>

namespace Quenta::GameComponent {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

constexpr std::array<std::pair<std::u16string_view, std::uint32_t>, 16> kNamedColors{{
    {u"black", 0xFF000000u},  {u"silver", 0xFFC0C0C0u}, {u"gray", 0xFF808080u},   {u"white", 0xFFFFFFFFu},
    {u"maroon", 0xFF800000u}, {u"red", 0xFFFF0000u},    {u"purple", 0xFF800080u}, {u"fuchsia", 0xFFFF00FFu},
    {u"green", 0xFF008000u},  {u"lime", 0xFF00FF00u},   {u"olive", 0xFF808000u},  {u"yellow", 0xFFFFFF00u},
    {u"navy", 0xFF000080u},   {u"blue", 0xFF0000FFu},   {u"teal", 0xFF008080u},   {u"aqua", 0xFF00FFFFu},
}};

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f'; }

// Base-16 reading: leading blanks, an optional sign, an optional "0x" (or "#", the web's
// way of writing colours, which authors reach for first), then digits up to the first
// other character. Eight digits fill the word; more saturate it.
std::uint32_t readHexadecimal(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        hexDigit(text[i + 2]) >= 0) {
        i += 2;
    } else if (i + 1 < text.size() && text[i] == u'#' && hexDigit(text[i + 1]) >= 0) {
        ++i;
    }
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0) break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull;
    }
    const auto word = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - word) : word;
}

}  // namespace

std::uint32_t parseTextColor(std::u16string_view text) {
    if (text.size() <= 7) {
        std::u16string lower(text);
        for (char16_t& c : lower) {
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        }
        for (const auto& [name, value] : kNamedColors) {
            if (lower == name) return value;
        }
    }
    return readHexadecimal(text) | kOpaque;
}

}  // namespace Quenta::GameComponent
