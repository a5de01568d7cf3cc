#include "Source/Interpreter/ScriptCommand.h"

#include "Source/Interpreter/RegisterRecord.h"
#include "Source/Interpreter/Value.h"

namespace Quenta::Interpreter {

Token literalToken(const Value& value) {
    switch (value.type()) {
    case ValueType::Number:
        return Token(TokenKind::Number, value.toNum(), value.toStr());
    case ValueType::String:
        return Token(TokenKind::String, 0.0, value.toStr());
    case ValueType::Bool:
        return value.toBool() ? Token(TokenKind::KwTrue, 0.0, u"true") : Token(TokenKind::KwFalse, 0.0, u"false");
    case ValueType::FuncObject: {
        const auto& function = static_cast<const FuncObjectValue&>(value);
        if (const RegisterRecord* record = function.record()) {
            return Token(TokenKind::FuncBlock, record->recordIndex(), record->funcName());
        }
        return Token(TokenKind::Number, 0.0, u"0");
    }
    default:
        return Token(TokenKind::Number, 0.0, u"0");
    }
}

TokenLine makeCommandLine(std::u16string_view name, const std::vector<Token>& arguments) {
    TokenLine line;
    line.reserve(arguments.size() * 2 + 3);
    line.emplace_back(TokenKind::Identifier, 0.0, std::u16string(name));
    line.emplace_back(TokenKind::OpenParen, 0.0, u"(");
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line.emplace_back(TokenKind::Comma, 0.0, u",");
        line.push_back(arguments[i]);
    }
    line.emplace_back(TokenKind::CloseParen, 0.0, u")");
    return line;
}

TokenLine makeCommandLine(std::u16string_view name, const std::vector<const Value*>& arguments) {
    std::vector<Token> tokens;
    tokens.reserve(arguments.size());
    for (const Value* value : arguments) tokens.push_back(literalToken(*value));
    return makeCommandLine(name, tokens);
}

}  // namespace Quenta::Interpreter
