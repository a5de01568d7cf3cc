#pragma once
// Paths that scripts hand to built-ins: system text with "\" separators, taken as it
// stands when absolute and relative to the calling character's data folder otherwise
// (relative to the working directory when the script belongs to no character or the
// character has no folder).
#include <filesystem>
#include <string_view>

namespace Quenta::Interpreter {

class Parser;

std::filesystem::path resolveScriptPath(const Parser& parser, std::u16string_view path);

}  // namespace Quenta::Interpreter
