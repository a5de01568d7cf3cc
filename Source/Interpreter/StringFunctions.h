#pragma once
// Text algorithms of the core built-ins. Positions and lengths count UTF-16 code units.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Quenta::Interpreter {

// First position at or after `start` (negative counts as 0) where `pattern` occurs, or -1.
std::int64_t indexOfStr(std::u16string_view text, std::u16string_view pattern, std::int64_t start);

// At most `length` units from `start`; empty when length <= 0 or start is not a
// position inside the text (negative starts included).
std::u16string subStr(std::u16string_view text, std::int64_t start, std::int64_t length);

// Every occurrence of `from`, left to right and without overlap, replaced by `to`.
// An empty `from` matches nothing, so the text comes back unchanged.
std::u16string replaceStr(std::u16string_view text, std::u16string_view from, std::u16string_view to);

// Spaces and tabs removed from both ends.
std::u16string trimBlanks(std::u16string_view text);

// Pieces between the commas, blanks trimmed; one piece for a text without commas.
std::vector<std::u16string> splitTrimmed(std::u16string_view list);

// Blanks (space, tab, CR, LF) trimmed and ASCII letters upper-cased; other characters
// are kept as they are.
std::u16string normaliseKeyword(std::u16string_view text);

}  // namespace Quenta::Interpreter
