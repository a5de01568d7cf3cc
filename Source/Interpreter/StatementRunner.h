#pragma once
// Running script blocks: one token line per statement, with if/elseif/else/endif and
// while/endwhile paired at run time through the parser's control stack.
#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class Parser;

// Runs `block` from its first line. A "return" ends it and empties the control stack;
// otherwise records of ifs and whiles left open stay for the next block this parser
// runs. Propagates ScriptException.
void runBlock(Parser& parser, const TokenBlock& block);

// Runs the statement on the parser's current token line, from token 0.
void runStatement(Parser& parser);

}  // namespace Quenta::Interpreter
