#include "Source/Interpreter/Evaluator.h"

#include <array>
#include <cstdint>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScopeNode.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptMessages.h"

namespace Quenta::Interpreter {

namespace {

struct Precedence {
    std::uint8_t stack = 0;
    std::uint8_t incoming = 0;
    std::uint8_t arity = 0;
};

constexpr std::array<Precedence, kTokenKindCount> makePrecedenceTable() {
    std::array<Precedence, kTokenKindCount> t{};
    auto set = [&t](TokenKind k, std::uint8_t s, std::uint8_t i, std::uint8_t a) {
        t[static_cast<std::size_t>(k)] = Precedence{s, i, a};
    };
    for (TokenKind k : {TokenKind::Equal, TokenKind::NotEqual}) set(k, 18, 17, 2);
    for (TokenKind k : {TokenKind::GreaterEqual, TokenKind::Greater, TokenKind::LessEqual, TokenKind::Less})
        set(k, 20, 19, 2);
    for (TokenKind k : {TokenKind::AddAssign, TokenKind::SubAssign, TokenKind::MulAssign, TokenKind::DivAssign,
                        TokenKind::ModAssign, TokenKind::AndAssign, TokenKind::XorAssign, TokenKind::OrAssign,
                        TokenKind::Assign})
        set(k, 3, 4, 2);
    for (TokenKind k : {TokenKind::Plus, TokenKind::Minus}) set(k, 22, 21, 2);
    for (TokenKind k : {TokenKind::Multiply, TokenKind::Divide, TokenKind::Modulo}) set(k, 24, 23, 2);
    for (TokenKind k : {TokenKind::LogicalNot, TokenKind::BitNot, TokenKind::UnaryPlus, TokenKind::UnaryMinus})
        set(k, 25, 26, 1);
    set(TokenKind::LogicalAnd, 10, 9, 2);
    set(TokenKind::LogicalOr, 8, 7, 2);
    set(TokenKind::BitAnd, 16, 15, 2);
    set(TokenKind::BitOr, 12, 11, 2);
    set(TokenKind::BitXor, 14, 13, 2);
    set(TokenKind::Dot, 28, 27, 2);
    set(TokenKind::Question, 5, 6, 3);
    set(TokenKind::Colon, 5, 6, 0);
    set(TokenKind::Comma, 2, 1, 2);
    set(TokenKind::OpenParen, 0, 30, 0);
    set(TokenKind::OpenBracket, 0, 30, 0);
    set(TokenKind::CloseParen, 29, 0, 0);
    set(TokenKind::CloseBracket, 29, 0, 0);
    return t;
}

constexpr std::array<Precedence, kTokenKindCount> kPrecedence = makePrecedenceTable();

inline const Precedence& precedenceOf(TokenKind kind) {
    const auto i = static_cast<std::uint32_t>(kind);
    static constexpr Precedence none{};
    return i < kPrecedence.size() ? kPrecedence[i] : none;
}

const Token& dummyOperator() {
    static const Token dummy{TokenKind::DummyOperator, 0.0, std::u16string(u"DUMMY_OPERATOR")};
    return dummy;
}

[[noreturn]] void throwMessage(std::u16string_view message) {
    throw ScriptException(std::u16string(message));
}

// Puts the shared stacks back to where this evaluation found them, also when it throws.
class StackFrame {
public:
    StackFrame(std::vector<Value*>& operands, std::vector<PendingOperator>& operators)
        : operands_(operands), operators_(operators), operandBase_(operands.size()),
          operatorBase_(operators.size()) {}
    ~StackFrame() {
        operands_.resize(operandBase_);
        operators_.resize(operatorBase_);
    }
    StackFrame(const StackFrame&) = delete;
    StackFrame& operator=(const StackFrame&) = delete;
    std::size_t operandCount() const { return operands_.size() - operandBase_; }

private:
    std::vector<Value*>& operands_;
    std::vector<PendingOperator>& operators_;
    std::size_t operandBase_;
    std::size_t operatorBase_;
};

Value* parameterValue(Parser& parser, const Token* parameter, std::u16string_view name) {
    if (parameter) {
        if (parameter->kind == TokenKind::Number) {
            return parser.makeNum(parameter->number);
        }
        if (parameter->kind == TokenKind::String) {
            return parser.makeStr(parameter->text);
        }
    }
    throw ScriptException(Messages::invalidName(name));
}

// A bare identifier: the nearest scope that has the parameter, then the process-wide
// system variables of the host.
Value* bareParameter(Parser& parser, const Token& name) {
    for (const ScopeNode* node = parser.scope(); node; node = node->parent()) {
        if (const Token* parameter = node->findParameter(name.text)) {
            return parameterValue(parser, parameter, name.text);
        }
    }
    if (const auto variable = findSystemVariable(name.text)) {
        return parser.makeNum(parser.host().systemVariable(*variable));
    }
    throw ScriptException(Messages::invalidName(name.text));
}

// Name1 "." Name2 ... "." NameK, with the index after Name1 (on the first ".").
Value* objectPath(Parser& parser, const Token& first) {
    ScopeNode* object = nullptr;
    for (ScopeNode* node = parser.scope(); node && !object; node = node->parent()) {
        object = node->name() == first.text ? node : node->findChild(first.text);
    }
    if (!object) {
        throw ScriptException(Messages::invalidName(first.text));
    }
    for (;;) {
        parser.nextToken();  // the "."
        const Token& name = parser.nextToken();
        if (name.kind != TokenKind::Identifier) {
            throw ScriptException(Messages::invalidName(name.text));
        }
        if (parser.currentToken().kind != TokenKind::Dot) {
            return parameterValue(parser, object->findParameter(name.text), name.text);
        }
        object = object->findChild(name.text);
        if (!object) {
            throw ScriptException(Messages::invalidName(name.text));
        }
    }
}

Value* callBuiltIn(Parser& parser, const Token& name) {
    const BuiltInHandler handler = parser.builtIns().find(name);
    if (!handler) {
        throw ScriptException(Messages::unknownBuiltIn(name.text));
    }
    parser.nextToken();  // the "("
    Value* result = handler(parser, name.text);
    if (parser.currentToken().kind != TokenKind::CloseParen) {
        throw ScriptException(Messages::builtInNotClosed(name.text));
    }
    parser.nextToken();
    return result ? result : Parser::voidValue();
}

}  // namespace

Value* evaluate(Parser& parser, bool argumentMode) {
    parser.checkThread();
    std::vector<Value*>& operands = parser.operandStack();
    std::vector<PendingOperator>& operators = parser.operatorStack();
    StackFrame frame(operands, operators);
    operators.push_back({&dummyOperator(), 0, 0});
    operands.push_back(Parser::voidValue());

    for (;;) {
        const Token& t = parser.nextToken();
        switch (t.kind) {
        case TokenKind::Identifier: {
            const TokenKind next = parser.currentToken().kind;
            if (next == TokenKind::OpenParen) {
                Value* result = callBuiltIn(parser, t);
                operands.push_back(result);
            } else if (next == TokenKind::Dot) {
                operands.push_back(objectPath(parser, t));
            } else {
                operands.push_back(bareParameter(parser, t));
            }
            continue;
        }
        case TokenKind::Number: operands.push_back(parser.makeNum(t.number)); continue;
        case TokenKind::String: operands.push_back(parser.makeStr(t.text)); continue;
        case TokenKind::KwTrue: operands.push_back(parser.makeBool(true)); continue;
        case TokenKind::KwFalse: operands.push_back(parser.makeBool(false)); continue;
        case TokenKind::Variable: {
            Value* variable = parser.variables().find(t);
            if (!variable) {
                throw ScriptException(Messages::unknownVariable(t.text));
            }
            operands.push_back(variable);
            continue;
        }
        case TokenKind::FuncBlock:
            operands.push_back(parser.makeFuncObject(parser.functionObject(t.number)));
            continue;
        default: break;
        }

        const Precedence& incoming = precedenceOf(t.kind);
        int d = incoming.incoming;
        if (argumentMode && t.kind == TokenKind::Comma) {
            d = 0;
        }
        for (;;) {
            const PendingOperator pending = operators.back();
            if (pending.stack <= d) {
                break;
            }
            if (frame.operandCount() < pending.arity) {
                throwMessage(Messages::kInvalidValue);
            }
            operators.pop_back();
            const Token& top = *pending.token;
            switch (pending.arity) {
            case 1: {
                Value* x = operands.back();
                operands.back() = x->unaryOp(parser, top);
                break;
            }
            case 2: {
                Value* right = operands.back();
                operands.pop_back();
                Value* left = operands.back();
                operands.back() = top.kind == TokenKind::Comma ? right : left->binaryOp(parser, top, *right);
                break;
            }
            case 3: {
                Value* elseValue = operands.back();
                operands.pop_back();
                Value* thenValue = operands.back();
                operands.pop_back();
                operands.back() = operands.back()->toBool() ? thenValue : elseValue;
                break;
            }
            default: break;  // ":" only marks the second half of "?:"
            }
        }

        const Token& top = *operators.back().token;
        if (operators.back().stack == d) {
            if (top.kind == TokenKind::OpenParen) {
                if (t.kind != TokenKind::CloseParen) {
                    throwMessage(Messages::kParenNotClosed);
                }
                operators.pop_back();
                continue;
            }
            if (top.kind == TokenKind::OpenBracket) {
                if (t.kind != TokenKind::CloseBracket) {
                    throwMessage(Messages::kBracketNotClosed);
                }
                operators.pop_back();
                continue;
            }
            if (top.kind == TokenKind::DummyOperator) {
                parser.setTokenIndex(parser.tokenIndex() - 1);
                return operands.back();
            }
        }
        operators.push_back({&t, incoming.stack, incoming.arity});
    }
}

}  // namespace Quenta::Interpreter
