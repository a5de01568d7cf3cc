#pragma once
// A command for a character's command queue: a call line "Name(literals...)" run in
// the character's script context at its next input phase (Interpreter/ScriptCommand.h
// builds them).
#include "Source/Interpreter/Token.h"

namespace Quenta::GameComponent {

using CharacterCommand = Interpreter::TokenLine;

}  // namespace Quenta::GameComponent
