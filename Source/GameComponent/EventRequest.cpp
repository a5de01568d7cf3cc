#include "Source/GameComponent/EventRequest.h"

#include "Source/Script/F/RecordEvaluation.h"

namespace Quenta::GameComponent {

Interpreter::TokenBlock eventCode(const Interpreter::TokenLine* onEvent) {
    using Interpreter::TokenKind;
    Interpreter::TokenBlock code;
    if (!onEvent) return code;
    Interpreter::TokenLine statement;
    int depth = 0;
    for (const Interpreter::Token& token : *onEvent) {
        if (token.kind == TokenKind::OpenParen || token.kind == TokenKind::OpenBracket) ++depth;
        if ((token.kind == TokenKind::CloseParen || token.kind == TokenKind::CloseBracket) && depth > 0) --depth;
        if (token.kind == TokenKind::Comma && depth == 0) {
            if (!statement.empty()) code.push_back(std::move(statement));
            statement.clear();
            continue;
        }
        statement.push_back(token);
    }
    if (!statement.empty()) code.push_back(std::move(statement));
    return code;
}

std::u16string pickOrderName(Interpreter::Parser& parser, const Interpreter::TokenLine* funcListEvent) {
    if (!funcListEvent || funcListEvent->empty()) return {};
    return Script::evaluateWeightedPick(parser, *funcListEvent);
}

}  // namespace Quenta::GameComponent
