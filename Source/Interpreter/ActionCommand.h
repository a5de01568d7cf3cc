#pragma once
// A captured action carried as a character command (a list of texts), so that a
// thread outside the scene (a launched program's watcher) can hand it to the
// character's command queue; the character's input phase turns it back into tokens
// and runs it with runAction. The first text marks the command; each token follows as
// its kind, its number (exact) and its text.
#include <optional>
#include <string>
#include <vector>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

inline constexpr std::u16string_view actionCommandMark = u"\x01RunAction";

std::vector<std::u16string> encodeActionCommand(const TokenLine& action);
// Nothing when the command is not an encoded action (or is malformed).
std::optional<TokenLine> decodeActionCommand(const std::vector<std::u16string>& command);

}  // namespace Quenta::Interpreter
