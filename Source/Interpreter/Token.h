#pragma once
// One script token and the token line (one statement) built from them.
#include <string>
#include <vector>

#include "Source/Interpreter/TokenKind.h"

namespace Quenta::Interpreter {

struct Token {
    TokenKind kind = TokenKind::Invalid;
    // NUMBER: the literal's value; FUNC_BLOCK: the register record's index; else 0.
    double number = 0.0;
    // Identifier or variable name (with its "$"), a NUMBER's source text, a STRING's
    // unescaped contents, or the kind's own text for keywords, operators, separators.
    std::u16string text;

    Token() = default;
    Token(TokenKind k, double n, std::u16string t) : kind(k), number(n), text(std::move(t)) {}
};

using TokenLine = std::vector<Token>;
// A script block: one token line per statement.
using TokenBlock = std::vector<TokenLine>;

// The shared end token (INVALID, 0, empty text) that reading past a line yields.
const Token& endToken();

// Reads line[index], or the end token past either end.
inline const Token& tokenAt(const TokenLine& line, int index) {
    if (index < 0 || static_cast<size_t>(index) >= line.size()) {
        return endToken();
    }
    return line[static_cast<size_t>(index)];
}

}  // namespace Quenta::Interpreter
