#include "Source/Interpreter/TokenKind.h"

#include <array>

namespace Quenta::Interpreter {

namespace {
constexpr std::array<std::u16string_view, kTokenKindCount> kTexts = {
    u"IDENTIFIER", u"NUMBER", u"STRING", u"FUNC_BLOCK", u"VARIABLE",
    u"KEYWORD_BEGIN", u"number", u"string", u"bool", u"true", u"false",
    u"if", u"elseif", u"else", u"endif", u"while", u"endwhile", u"break",
    u"continue", u"return", u"KEYWORD_END",
    u"OPERATOR_BEGIN", u"==", u"!=", u">=", u">", u"<=", u"<", u"+=", u"-=",
    u"*=", u"/=", u"%=", u"&=", u"^=", u"|=", u"=", u"+", u"-", u"*", u"/",
    u"%", u"!", u"&&", u"||", u"~", u"&", u"|", u"^", u".", u"?",
    u"DUMMY_OPERATOR", u"UNARY_PLUS", u"UNARY_MINUS", u"OPERATOR_END",
    u"SEPARATOR_BEGIN", u";", u",", u":", u"(", u")", u"[", u"]",
    u"SEPARATOR_END", u"INVALID",
};
}  // namespace

std::u16string_view tokenKindText(TokenKind kind) {
    const int i = kindIndex(kind);
    if (i < 0 || i >= kTokenKindCount) {
        return {};
    }
    return kTexts[static_cast<size_t>(i)];
}

}  // namespace Quenta::Interpreter
