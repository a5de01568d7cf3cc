#pragma once
// Helpers for the interpreter tests: run script text the way definition files do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Source/Interpreter/Evaluator.h"
#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/StatementRunner.h"

namespace ScriptTest {

using namespace Quenta::Interpreter;

// Cleans one raw line and tokenizes it (an empty token line when cleaning drops it).
inline TokenLine lineOf(const std::u16string& raw) {
    const auto cleaned = cleanLines({raw});
    return cleaned.empty() ? TokenLine() : tokenizeLine(cleaned.front());
}

// Cleans raw lines and tokenizes the non-empty logical ones into a block.
inline TokenBlock blockOf(const std::vector<std::u16string>& raw) {
    TokenBlock block;
    for (const auto& line : cleanLines(raw)) {
        if (!line.empty()) {
            block.push_back(tokenizeLine(line));
        }
    }
    return block;
}

// Evaluates a line at statement level. The token line lives in the fixture so that
// the returned value's tokens stay valid.
class Evaluation {
public:
    explicit Evaluation(Parser& parser) : parser_(parser) {}
    Value* operator()(const std::u16string& raw) {
        line_ = lineOf(raw);
        parser_.setLine(line_);
        parser_.resetTemporaries();
        return evaluate(parser_, false);
    }
    const TokenLine& line() const { return line_; }

private:
    Parser& parser_;
    TokenLine line_;
};

// The message of the ScriptException that `f` throws, or "<no exception>".
template <typename F>
std::u16string messageOf(F&& f) {
    try {
        f();
    } catch (const ScriptException& e) {
        return e.message();
    }
    return u"<no exception>";
}

}  // namespace ScriptTest
