#include "Source/Interpreter/ActionCapture.h"

#include "Source/Interpreter/Evaluator.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptMessages.h"

namespace Quenta::Interpreter {

namespace {
Token literalOf(const Token& reference, const Value& value) {
    switch (value.type()) {
    case ValueType::Number: return Token(TokenKind::Number, value.toNum(), value.toStr());
    case ValueType::String: return Token(TokenKind::String, 0.0, value.toStr());
    case ValueType::Bool: {
        const TokenKind kind = value.toBool() ? TokenKind::KwTrue : TokenKind::KwFalse;
        return Token(kind, 0.0, std::u16string(tokenKindText(kind)));
    }
    default: return Token(reference.kind, reference.number, reference.text);
    }
}
}  // namespace

TokenLine captureAction(Parser& parser, bool substitute) {
    TokenLine action;
    int depth = 0;
    for (;;) {
        const Token& token = parser.currentToken();
        if (token.kind == TokenKind::Invalid) break;  // the end of the line
        if (depth == 0 && (token.kind == TokenKind::Comma || token.kind == TokenKind::CloseParen)) break;
        if (token.kind == TokenKind::OpenParen) ++depth;
        if (token.kind == TokenKind::CloseParen) --depth;
        parser.nextToken();
        if (!substitute) continue;
        if (token.kind == TokenKind::Variable) {
            const Value* value = parser.variables().find(token.text);
            if (!value) throw ScriptException(Messages::unknownVariable(token.text));
            action.push_back(literalOf(token, *value));
        } else {
            action.emplace_back(token.kind, token.number, token.text);
        }
    }
    return action;
}

void runAction(Parser& parser, const TokenLine& action) {
    const TokenLine line = action;
    ParserPositionSaver saver(parser);
    parser.setLine(line);
    evaluate(parser, false);
}

}  // namespace Quenta::Interpreter
