#pragma once
// The action a recognised command runs, as a token line. It sets the shortcut
// variables the character's script reacts to; the command text is read from the
// variable named by the command's identifier when the action runs, so the user's
// settings apply without rebuilding the trees.
//   "Basic":    "$toastMessage" and "$softPath"
//   "Shortcut": "$toastMessage", "$keyCommand", "$canNumberOfTimes", "$inputKeyType__",
//               and, when the command asks for it, the user input to the clipboard
#include <optional>
#include <string_view>

#include "Source/Data/Repository/TemplateItemContext.h"
#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

// Nothing for a category that has no actions.
std::optional<TokenLine> commandAction(std::u16string_view category, const Data::Repository::CommandContext& command);

}  // namespace Quenta::Interpreter
