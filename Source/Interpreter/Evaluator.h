#pragma once
// The expression evaluator: an operator-precedence machine with an operand and an
// operator stack, working directly on the parser's token line.
namespace Quenta::Interpreter {

class Parser;
class Value;

// Evaluates from the parser's current token and stops at the first token that cannot
// continue the expression (a ")" or "]" without partner, ";", a keyword, the end of the
// line, and "," in argument mode), leaving the index on it. Returns a variable
// (writable), a temporary, or the void value for an empty expression. Throws
// ScriptException; the statement is then abandoned.
Value* evaluate(Parser& parser, bool argumentMode);

}  // namespace Quenta::Interpreter
