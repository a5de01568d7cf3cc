#pragma once
// The built-in functions scripts call as Name(args): one ordered, case-sensitive table
// of name -> handler, built once on first use and shared by every Parser.
//
// Call protocol. The evaluator meets IDENTIFIER "(" and looks the name up. The
// handler then runs with the parser's index on the first token after "(" and:
// - reads its own arguments with evaluate(parser, true) (Evaluator.h), consuming the
//   "," between them (BuiltInArguments below does both);
// - when the current token is ")" on entry, was called with no arguments;
// - returns a temporary (parser.makeNum/makeStr/makeBool/makeFuncObject), a variable
//   when the built-in hands one out, or Parser::voidValue();
// - leaves the index on the closing ")" (the evaluator consumes it and reports a
//   missing one);
// - returns its failure value (0, false or empty text) when an argument is missing or
//   when it needs a character and parser.owner() is null.
// A built-in reaches its character through parser.owner() (ScriptOwner.h) and the
// running program (system variables, clock, user input, ...) through parser.host()
// (ScriptHost.h), never by including the modules above the interpreter.
//
// Registering a family: write `void registerXxxBuiltIns(BuiltInTable& table)` that
// calls table.add(u"Name", handler) for each function, and add one line
// `TAVIZO_BUILTIN_FAMILY(registerXxxBuiltIns)` to BuiltInFamilies.def.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class Parser;
class Value;

// `name` is the name the script called (for messages such as
// "呼び出された命令" + name + "の記述が不正です。").
using BuiltInHandler = Value* (*)(Parser& parser, std::u16string_view name);

class BuiltInTable {
public:
    using Map = std::map<std::u16string, BuiltInHandler, std::less<>>;

    // The shared table with every family registered.
    static const BuiltInTable& instance();

    BuiltInTable() : stamp_(newLookupStamp()) {}
    BuiltInTable(const BuiltInTable&) = delete;
    BuiltInTable& operator=(const BuiltInTable&) = delete;

    // False (and nothing changes) when the name is taken or the handler is null.
    bool add(std::u16string_view name, BuiltInHandler handler);
    // Null for an unknown name.
    BuiltInHandler find(std::u16string_view name) const;
    // find(token.text), remembered in the token until the table changes.
    BuiltInHandler find(const Token& token) const;
    const Map& entries() const { return map_; }

private:
    Map map_;
    std::uint64_t stamp_;
};

// Reads a built-in's arguments in the call protocol's way.
class BuiltInArguments {
public:
    BuiltInArguments(Parser& parser, std::u16string_view name) : parser_(parser), name_(name) {}

    // True when the call has no arguments (the current token is ")").
    bool empty() const;
    // True when the current token is "," (another argument follows).
    bool hasMore() const;
    // The first argument: evaluated in argument mode.
    Value* first();
    // A following argument: consumes the ",", or throws
    // "呼び出された命令" + name + "の記述が不正です。" when there is none.
    Value* next();

private:
    Parser& parser_;
    std::u16string_view name_;
};

}  // namespace Quenta::Interpreter
