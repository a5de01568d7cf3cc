#pragma once
// One script token and the token line (one statement) built from them.
#include <cstdint>
#include <string>
#include <vector>

#include "Source/Interpreter/TokenKind.h"

namespace Quenta::Interpreter {

// What a name token last resolved to (a variable, a built-in), valid while `stamp`
// matches the stamp of the table it came from. Filled by the evaluator so that a line
// run every frame looks each name up once; never part of a token's meaning. Token
// lines are run by one thread at a time, so the cache needs no lock.
struct TokenCache {
    std::uint64_t stamp = 0;
    void* target = nullptr;
};

// A fresh, never reused stamp for a lookup table's current contents.
std::uint64_t newLookupStamp();

struct Token {
    TokenKind kind = TokenKind::Invalid;
    // NUMBER: the literal's value; FUNC_BLOCK: the register record's index; else 0.
    double number = 0.0;
    // Identifier or variable name (with its "$"), a NUMBER's source text, a STRING's
    // unescaped contents, or the kind's own text for keywords, operators, separators.
    std::u16string text;
    mutable TokenCache cache;

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
