#pragma once
// A command for a character's command queue: a function name followed by its
// arguments, run in the character's script context at its next input phase.
// Arguments are held as text until the script values of the interpreter exist.
#include <string>
#include <vector>

namespace Quenta::GameComponent {

using CharacterCommand = std::vector<std::u16string>;

}  // namespace Quenta::GameComponent
