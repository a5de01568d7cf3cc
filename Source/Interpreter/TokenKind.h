#pragma once
// The kinds of script tokens. The numeric values are part of the language's data: token
// lines are stored and compared by kind, and the marker kinds delimit the keyword,
// operator and separator ranges.
#include <cstdint>
#include <string_view>

namespace Quenta::Interpreter {

enum class TokenKind : std::int32_t {
    Identifier = 0,
    Number = 1,
    String = 2,
    FuncBlock = 3,
    Variable = 4,
    KeywordBegin = 5,
    KwNumber = 6,
    KwString = 7,
    KwBool = 8,
    KwTrue = 9,
    KwFalse = 10,
    KwIf = 11,
    KwElseIf = 12,
    KwElse = 13,
    KwEndIf = 14,
    KwWhile = 15,
    KwEndWhile = 16,
    KwBreak = 17,
    KwContinue = 18,
    KwReturn = 19,
    KeywordEnd = 20,
    OperatorBegin = 21,
    Equal = 22,
    NotEqual = 23,
    GreaterEqual = 24,
    Greater = 25,
    LessEqual = 26,
    Less = 27,
    AddAssign = 28,
    SubAssign = 29,
    MulAssign = 30,
    DivAssign = 31,
    ModAssign = 32,
    AndAssign = 33,
    XorAssign = 34,
    OrAssign = 35,
    Assign = 36,
    Plus = 37,
    Minus = 38,
    Multiply = 39,
    Divide = 40,
    Modulo = 41,
    LogicalNot = 42,
    LogicalAnd = 43,
    LogicalOr = 44,
    BitNot = 45,
    BitAnd = 46,
    BitOr = 47,
    BitXor = 48,
    Dot = 49,
    Question = 50,
    DummyOperator = 51,
    UnaryPlus = 52,
    UnaryMinus = 53,
    OperatorEnd = 54,
    SeparatorBegin = 55,
    Semicolon = 56,
    Comma = 57,
    Colon = 58,
    OpenParen = 59,
    CloseParen = 60,
    OpenBracket = 61,
    CloseBracket = 62,
    SeparatorEnd = 63,
    Invalid = 64,
};

inline constexpr int kTokenKindCount = 65;

// The kind's own text: "IDENTIFIER", "number", "==", "(", "INVALID", ... Keyword,
// operator and separator tokens carry this text, and the lexer matches against it.
// Out-of-range kinds give an empty view.
std::u16string_view tokenKindText(TokenKind kind);

constexpr int kindIndex(TokenKind kind) { return static_cast<int>(kind); }

constexpr bool isKeyword(TokenKind kind) {
    return kind > TokenKind::KeywordBegin && kind < TokenKind::KeywordEnd;
}

}  // namespace Quenta::Interpreter
