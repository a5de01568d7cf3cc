// tavizo-tool run FILE: runs a script file as one block and lists its variables.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/StatementRunner.h"
#include "framework/Text/Utf.h"
#include "tools/ScriptOutput.h"

namespace {

using namespace Quenta::Interpreter;

// Lines as definition files are read: split at line feeds (or at carriage returns when
// the text has no line feed), trailing carriage returns and line feeds removed.
std::vector<std::u16string> splitLines(const std::u16string& text) {
    const char16_t separator = text.find(u'\n') != std::u16string::npos ? u'\n' : u'\r';
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        std::u16string line = text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
        while (!line.empty() && (line.back() == u'\r' || line.back() == u'\n')) {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        if (end == std::u16string::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

int runRun(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tavizo-tool run FILE\n");
        return 2;
    }
    std::ifstream in(args[0], std::ios::binary | std::ios::ate);
    std::string bytes;
    if (in) {
        bytes.resize(static_cast<std::size_t>(in.tellg()));
        in.seekg(0);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    if (!in) {
        std::fprintf(stderr, "tavizo-tool: cannot read '%s'\n", args[0].c_str());
        return 2;
    }
    try {
        TokenBlock block;
        for (const std::u16string& line : cleanLines(splitLines(Arbor::Text::fromUtf8(Arbor::Text::skipUtf8Bom(bytes))))) {
            if (!line.empty()) {
                block.push_back(tokenizeLine(line));
            }
        }
        Parser parser;
        runBlock(parser, block);
        for (const auto& [name, value] : parser.variables().entries()) {
            std::printf("%s\t%s\n", Arbor::Text::toUtf8(name).c_str(), Tool::describeValue(*value).c_str());
        }
        return 0;
    } catch (const ScriptException& e) {
        std::printf("error\t%s\n", e.what());
        return 1;
    }
}

}  // namespace

TAVIZO_TOOL_COMMAND(run, "run FILE", "runs a script file as one block and lists its variables", runRun);
