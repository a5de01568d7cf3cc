#include "Source/Interpreter/CommandAction.h"

#include "Source/Interpreter/TokenKind.h"
#include "Source/Interpreter/Value.h"

namespace Quenta::Interpreter {

namespace {

class ActionBuilder {
public:
    ActionBuilder& symbol(TokenKind kind) {
        line_.emplace_back(kind, 0.0, std::u16string(tokenKindText(kind)));
        return *this;
    }
    ActionBuilder& name(std::u16string_view text) {
        line_.emplace_back(TokenKind::Identifier, 0.0, std::u16string(text));
        return *this;
    }
    ActionBuilder& string(std::u16string_view text) {
        line_.emplace_back(TokenKind::String, 0.0, std::u16string(text));
        return *this;
    }
    ActionBuilder& number(double value) {
        line_.emplace_back(TokenKind::Number, value, NumValue(value).toStr());
        return *this;
    }
    ActionBuilder& boolean(bool value) { return symbol(value ? TokenKind::KwTrue : TokenKind::KwFalse); }

    // "| " before every call but the first.
    ActionBuilder& call(std::u16string_view function) {
        if (!line_.empty()) symbol(TokenKind::BitOr);
        return name(function).symbol(TokenKind::OpenParen);
    }
    ActionBuilder& comma() { return symbol(TokenKind::Comma); }
    ActionBuilder& close() { return symbol(TokenKind::CloseParen); }

    // SetVariable(variable, GetVariable(identifier))
    ActionBuilder& setFromVariable(std::u16string_view variable, std::u16string_view identifier) {
        return call(u"SetVariable").string(variable).comma().name(u"GetVariable").symbol(TokenKind::OpenParen)
            .string(identifier).close().close();
    }

    TokenLine take() { return std::move(line_); }

private:
    TokenLine line_;
};

}  // namespace

std::optional<TokenLine> commandAction(std::u16string_view category, const Data::Repository::CommandContext& command) {
    ActionBuilder action;
    if (category == u"Basic") {
        action.call(u"SetVariable").string(u"$toastMessage").comma().string(command.message).close();
        action.setFromVariable(u"$softPath", command.identifier());
        return action.take();
    }
    if (category == u"Shortcut") {
        action.call(u"SetVariable").string(u"$toastMessage").comma().string(command.message).close();
        action.setFromVariable(u"$keyCommand", command.identifier());
        action.call(u"SetVariable").string(u"$canNumberOfTimes").comma().boolean(command.isRepeatable).close();
        action.call(u"SetVariable").string(u"$inputKeyType__").comma().number(command.inputType).close();
        if (command.isClipboardEnabled) {
            action.call(u"SetTextInClipboard").name(u"GetUserInput").symbol(TokenKind::OpenParen).close().close();
        }
        return action.take();
    }
    return std::nullopt;
}

}  // namespace Quenta::Interpreter
