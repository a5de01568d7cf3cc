#pragma once
// Argument reading shared by the library's built-in families, on top of
// BuiltInArguments: optional arguments end quietly at ")", and anything else between
// two arguments is the call's "の記述が不正です。" error.
#include <optional>
#include <string>
#include <string_view>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/Value.h"

namespace Quenta::Interpreter {

class LibraryArguments {
public:
    LibraryArguments(Parser& parser, std::u16string_view name) : parser_(parser), arguments_(parser, name) {}

    // True when the call has no arguments at all.
    bool empty() const { return arguments_.empty(); }

    // The next argument, or null when the call ends (")") before it. Throws the
    // call's malformed message when the token after the previous argument is neither
    // "," nor ")".
    Value* next() {
        if (parser_.currentToken().kind == TokenKind::CloseParen) {
            return nullptr;
        }
        if (!started_) {
            started_ = true;
            return arguments_.first();
        }
        return arguments_.next();
    }

    // The next argument's text, taken at once (a later argument may change the value it
    // came from), or nothing when the call ends before it.
    std::optional<std::u16string> nextText() {
        Value* value = next();
        if (!value) {
            return std::nullopt;
        }
        return value->toStr();
    }

private:
    Parser& parser_;
    BuiltInArguments arguments_;
    bool started_ = false;
};

}  // namespace Quenta::Interpreter
