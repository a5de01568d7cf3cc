// tavizo-tool eval "LINE": tries one script line the way a character would run it.
#include <cstdio>
#include <string>
#include <vector>

#include "Source/Interpreter/Evaluator.h"
#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "framework/Text/Utf.h"
#include "tools/ScriptOutput.h"

namespace {

using namespace Quenta::Interpreter;

int runEval(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tavizo-tool eval LINE\n");
        return 2;
    }
    const std::vector<std::u16string> cleaned = cleanLines({Arbor::Text::fromUtf8(args[0])});
    if (cleaned.empty()) {
        // Line cleaning keeps a line open while its brackets are; a definition file
        // would drop it at its end, so there is nothing to evaluate.
        std::fprintf(stderr, "tavizo-tool: the line leaves a bracket or an escape open and is dropped\n");
    }
    try {
        Parser parser;
        TokenLine line = cleaned.empty() ? TokenLine() : tokenizeLine(cleaned.front());
        parser.setLine(line);
        const Value* result = evaluate(parser, false);
        std::printf("%s\n", Tool::describeValue(*result).c_str());
        return 0;
    } catch (const ScriptException& e) {
        std::printf("error\t%s\n", e.what());
        return 1;
    }
}

}  // namespace

TAVIZO_TOOL_COMMAND(eval, "eval LINE", "evaluates one script line and prints TYPE<TAB>VALUE", runEval);
