#pragma once
// What hit and condition events share when they fire: the order request they queue
// on their character, built from their record's fields.
#include <string>

#include "Source/GameComponent/OrderRequest.h"
#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {
class Parser;
}

namespace Quenta::GameComponent {

// "OnEvent" as code: its comma-separated values (commas inside parentheses or
// brackets belong to the value), one statement each.
Interpreter::TokenBlock eventCode(const Interpreter::TokenLine* onEvent);

// One weighted pick from a "FuncListEvent" line (empty when there is none).
std::u16string pickOrderName(Interpreter::Parser& parser, const Interpreter::TokenLine* funcListEvent);

}  // namespace Quenta::GameComponent
