#pragma once
// The one place where UTF-8 and UTF-16 meet. All system text is UTF-16
// (std::u16string); files and command lines are UTF-8.
#include <string>
#include <string_view>

namespace Arbor::Text {

// Decodes UTF-8. Malformed or overlong sequences, surrogate code points and values
// beyond U+10FFFF each become U+FFFD; decoding never fails.
std::u16string fromUtf8(std::string_view utf8);

// Encodes UTF-16. A lone surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view utf16);

// Widens 7-bit text (identifiers, literals in code); bytes above 0x7F are kept as
// their code unit value, which is only right for ASCII input.
std::u16string fromAscii(std::string_view ascii);

// Skips a UTF-8 byte-order mark at the start, if there is one.
std::string_view skipUtf8Bom(std::string_view utf8);

}  // namespace Arbor::Text
