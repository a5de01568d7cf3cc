#pragma once
// The lexical layer of the script: raw definition-file lines become logical lines
// (blanks and comments gone, escapes outside strings decoded, bracketed expressions
// joined across lines), and a logical line becomes a token line.
#include <cstddef>
#include <string>
#include <vector>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

// Cleans all raw lines of one file. A line ends a logical line when its round
// brackets are balanced; a line whose escape is not recognised, or that leaves
// brackets open, continues into the next. A buffer still open at the end of the file
// is dropped. Never fails. When `startLines` is given, it receives for each logical
// line the index of the raw line it began on (for error locations).
std::vector<std::u16string> cleanLines(const std::vector<std::u16string>& rawLines,
                                       std::vector<std::size_t>* startLines = nullptr);

// Cuts one logical line into tokens. Throws ScriptException on a character that
// starts no token ("不正な値が設定されています。") and on an unterminated string.
// The line ends at its first NUL, if it has one.
TokenLine tokenizeLine(std::u16string_view line);

}  // namespace Quenta::Interpreter
