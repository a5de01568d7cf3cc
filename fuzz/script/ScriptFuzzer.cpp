// Feeds arbitrary text through line cleaning, tokenizing and block running. Scripts
// may loop forever by design, so blocks that can jump backwards run under a statement
// budget kept here; the interpreter itself has no such limit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/StatementRunner.h"
#include "framework/Text/Utf.h"

namespace {

using namespace Quenta::Interpreter;

constexpr int kStatementBudget = 20000;

bool canJumpBack(const TokenBlock& block) {
    for (const TokenLine& line : block) {
        for (const Token& t : line) {
            if (t.kind == TokenKind::KwEndWhile || t.kind == TokenKind::KwContinue) {
                return true;
            }
        }
    }
    return false;
}

// runBlock's loop with a budget on the number of statements run.
void runBounded(Parser& parser, const TokenBlock& block) {
    parser.setCurrentLineIndex(0);
    const int count = static_cast<int>(block.size());
    for (int steps = 0; count > 0 && steps < kStatementBudget; ++steps) {
        const int index = parser.currentLineIndex();
        if (index < 0 || index >= count) {
            __builtin_trap();  // the runner must never leave the block's range
        }
        parser.setLine(block[static_cast<std::size_t>(index)]);
        parser.resetTemporaries();
        runStatement(parser);
        if (parser.returnFlag()) {
            parser.setReturnFlag(false);
            parser.controlStack().clear();
            return;
        }
        const int next = parser.currentLineIndex() + 1;
        if (next >= count) {
            return;
        }
        parser.setCurrentLineIndex(next);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text =
        Arbor::Text::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::u16string> raw;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(u'\n', start);
        raw.push_back(text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
        if (end == std::u16string::npos) {
            break;
        }
        start = end + 1;
    }
    TokenBlock block;
    for (const std::u16string& line : cleanLines(raw)) {
        if (line.empty()) {
            continue;
        }
        try {
            block.push_back(tokenizeLine(line));
        } catch (const ScriptException&) {
            // a lexical error: the rest of the file still gets tokenized
        }
    }
    Parser parser;
    try {
        // Run twice: the second run starts with whatever control records the first left.
        for (int round = 0; round < 2; ++round) {
            if (canJumpBack(block)) {
                runBounded(parser, block);
            } else {
                runBlock(parser, block);
            }
        }
    } catch (const ScriptException& e) {
        if (e.message().empty()) {
            __builtin_trap();  // every script error carries its text
        }
    }
    return 0;
}
