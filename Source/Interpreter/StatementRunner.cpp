#include "Source/Interpreter/StatementRunner.h"

#include "Source/Interpreter/Evaluator.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"

namespace Quenta::Interpreter {

namespace {

using Record = ControlRecord;

[[noreturn]] void fail(const char16_t* message) { throw ScriptException(message); }

struct ConditionMessages {
    const char16_t* malformed;
    const char16_t* notClosed;
};

constexpr ConditionMessages kIfMessages{u"if 文の記述が不正です。", u"if 文が')'で閉じられていません。"};
constexpr ConditionMessages kElseIfMessages{u"elseif 文の記述が不正です。", u"elseif 文が')'で閉じられていません。"};
constexpr ConditionMessages kWhileMessages{u"while 文の記述が不正です。", u"while 文が')'で閉じられていません。"};

// keyword "(" expression ")" end-of-line, with the index after the keyword.
bool condition(Parser& parser, const ConditionMessages& messages) {
    if (parser.nextToken().kind != TokenKind::OpenParen) {
        fail(messages.malformed);
    }
    const bool result = evaluate(parser, true)->toBool();
    if (parser.nextToken().kind != TokenKind::CloseParen) {
        fail(messages.notClosed);
    }
    if (parser.currentToken().kind != TokenKind::Invalid) {
        fail(messages.malformed);
    }
    return result;
}

bool topIs(const std::vector<Record>& stack, std::int32_t kind) {
    return !stack.empty() && stack.back().kind == kind;
}

void declaration(Parser& parser, int typeId) {
    for (;;) {
        const Token& name = parser.nextToken();
        if (name.kind != TokenKind::Variable) {
            throw ScriptException(std::u16string(u"'") + name.text + u"'は変数名として使用できません。");
        }
        Value* variable = parser.variables().find(name);
        if (variable && variable->typeId() != typeId) {
            throw ScriptException(std::u16string(u"'") + name.text + u"' は別の型で宣言されています。");
        }
        if (!variable) {
            variable = parser.variables().create(name.text, typeId);
        }
        if (parser.currentToken().kind == TokenKind::Assign) {
            parser.nextToken();
            Value* initialiser = evaluate(parser, true);
            variable->assign(parser, *initialiser);
        }
        if (parser.currentToken().kind == TokenKind::Comma) {
            parser.nextToken();
            continue;
        }
        if (parser.currentToken().kind != TokenKind::Invalid) {
            fail(u"変数宣言の終わりが不正です。");
        }
        return;
    }
}

}  // namespace

void runStatement(Parser& parser) {
    parser.checkThread();
    parser.setTokenIndex(0);
    std::vector<Record>& stack = parser.controlStack();
    const bool active = stack.empty() || stack.back().state == Record::Active;
    const TokenKind first = parser.nextToken().kind;

    switch (first) {
    case TokenKind::KwIf:
        if (!active) {
            stack.push_back({Record::If, Record::Finished, -10000});
            return;
        }
        stack.push_back({Record::If, Record::NotTaken, -10000});
        if (condition(parser, kIfMessages)) {
            // The condition may run built-ins, but none of them touches the stack.
            stack.back().state = Record::Active;
        }
        return;

    case TokenKind::KwElseIf:
        if (!topIs(stack, Record::If)) {
            fail(u"'elseif' に対応する 'if' が必要です。");
        }
        if (stack.back().state != Record::NotTaken) {
            stack.back().state = Record::Finished;
        } else if (condition(parser, kElseIfMessages)) {
            stack.back().state = Record::Active;
        }
        return;

    case TokenKind::KwElse:
        if (!topIs(stack, Record::If)) {
            fail(u"'else' に対応する 'if' が必要です。");
        }
        stack.back().state = stack.back().state == Record::NotTaken ? Record::Active : Record::Finished;
        return;

    case TokenKind::KwEndIf:
        if (!topIs(stack, Record::If)) {
            fail(u"'endif' に対応する 'if' が必要です。");
        }
        stack.pop_back();
        return;

    case TokenKind::KwWhile: {
        if (!active) {
            stack.push_back({Record::While, Record::Finished, -10000});
            return;
        }
        const int line = parser.currentLineIndex();
        if (stack.empty() || stack.back().line != line) {
            stack.push_back({Record::While, Record::NotTaken, line});
        }
        const bool holds = condition(parser, kWhileMessages);
        stack.back().state = holds ? Record::Active : Record::Finished;
        return;
    }

    case TokenKind::KwEndWhile:
        if (!topIs(stack, Record::While)) {
            fail(u"'endwhile' に対応する 'while' が必要です。");
        }
        if (stack.back().state == Record::Finished) {
            stack.pop_back();
        } else {
            parser.setCurrentLineIndex(stack.back().line - 1);
        }
        return;

    default: break;
    }

    if (!active) {
        return;
    }

    switch (first) {
    case TokenKind::KwNumber: declaration(parser, 1); return;
    case TokenKind::KwString: declaration(parser, 2); return;
    case TokenKind::KwBool: declaration(parser, 3); return;

    case TokenKind::KwBreak:
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            it->state = Record::Finished;
            if (it->kind == Record::While) {
                return;
            }
        }
        fail(u"'break' が不正な位置で呼び出されています。");

    case TokenKind::KwContinue:
        while (!stack.empty() && stack.back().kind != Record::While) {
            stack.pop_back();
        }
        if (stack.empty()) {
            fail(u"'continue' が不正な位置で呼び出されています。");
        }
        if (stack.back().state == Record::Finished) {
            stack.pop_back();
        } else {
            parser.setCurrentLineIndex(stack.back().line - 1);
        }
        return;

    case TokenKind::KwReturn: parser.setReturnFlag(true); return;

    default:
        parser.setTokenIndex(0);
        evaluate(parser, false);
        return;
    }
}

void runBlock(Parser& parser, const TokenBlock& block) {
    parser.checkThread();
    parser.setCurrentLineIndex(0);
    const int count = static_cast<int>(block.size());
    if (count == 0) {
        return;
    }
    for (;;) {
        const int index = parser.currentLineIndex();
        parser.setLine(block[static_cast<std::size_t>(index)]);
        parser.resetTemporaries();
        runStatement(parser);
        if (parser.returnFlag()) {
            parser.setReturnFlag(false);
            parser.controlStack().clear();
            return;
        }
        const int nextLine = parser.currentLineIndex() + 1;
        if (nextLine >= count) {
            return;
        }
        parser.setCurrentLineIndex(nextLine);
    }
}

}  // namespace Quenta::Interpreter
