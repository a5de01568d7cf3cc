#pragma once
// Kanji numerals as people write them in Japanese text ("三百五十", "一億二千万"). Both
// functions share one set of seventeen numeral characters: the digits 一 to 九, the
// small units 十 百 千, the large units 万 億 兆 京, and 零.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Quenta::Interpreter {

bool isKanjiNumeral(char16_t c);

// The first run of numeral characters at or after `start`; empty when there is none.
std::u16string findKansuji(std::u16string_view text, std::size_t start);

// The value of a kanji numeral, read until the first character that cannot continue
// it (a digit after a digit, a unit out of order, any other character). "零" alone is
// 0. Arithmetic is unsigned 64-bit and wraps. An empty text gives -1.
double kansujiToNum(std::u16string_view text);

}  // namespace Quenta::Interpreter
