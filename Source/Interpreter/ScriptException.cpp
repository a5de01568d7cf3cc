#include "Source/Interpreter/ScriptException.h"

#include "framework/Text/Utf.h"

namespace Quenta::Interpreter {

ScriptException::ScriptException(std::u16string message)
    : message_(std::move(message)), utf8_(Arbor::Text::toUtf8(message_)) {}

}  // namespace Quenta::Interpreter
