#pragma once
// Commands for a character's command queue: a function name followed by its argument
// values, held as one call line "Name(v1, v2, ...)" whose arguments are literal tokens
// (numbers, texts, true/false, function objects). Running the command evaluates the
// line in the character's context, so it needs nothing the queue would have to keep
// alive, and crosses threads as plain data.
#include <string_view>
#include <vector>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class Value;

// The literal token of a value; a void value gives the number 0.
Token literalToken(const Value& value);

// "name(args...)" with each argument as its literal.
TokenLine makeCommandLine(std::u16string_view name, const std::vector<const Value*>& arguments);
TokenLine makeCommandLine(std::u16string_view name, const std::vector<Token>& arguments);

}  // namespace Quenta::Interpreter
