#pragma once
// Captured actions: a script expression taken from the call being read without being
// evaluated, to be run later (when a recognition condition wins).
#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class Parser;

// Takes the tokens from the parser's index up to the first "," or ")" at bracket depth
// 0 (or the end of the line), leaving the index on that token. Each variable reference
// becomes a literal of the variable's current value (a function-object variable stays
// a reference, having no literal form); a variable that does not exist raises the
// script's "変数'...'が見つかりません。" error. With `substitute` false the tokens
// are only skipped (and nothing is returned).
TokenLine captureAction(Parser& parser, bool substitute = true);

// Runs a captured action as one expression in the parser's current context and
// discards its value. The action is copied first: it may delete the tree that holds it.
void runAction(Parser& parser, const TokenLine& action);

}  // namespace Quenta::Interpreter
