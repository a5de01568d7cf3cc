#pragma once
// File-name parts of system paths. "\" separates components; "/" counts as "\", so
// paths written either way give the same parts.
#include <string>
#include <string_view>

namespace Quenta::Interpreter {

// The text after the last separator (the whole path when there is none).
std::u16string fileNameOf(std::u16string_view path);

// The file name from its last "." to its end, "." included; empty without a ".".
std::u16string extensionOf(std::u16string_view path);

// The file name up to its last ".", "." excluded; the whole file name without a ".".
std::u16string fileNameWithoutExtensionOf(std::u16string_view path);

// The path without its last component: the components are split at every separator,
// the last one dropped and the rest joined with "\". Empty components are kept, so
// "a\\b" gives "a\", "\\server\share\f" gives "\\server\share", "dir\" gives "dir",
// and a path of one component ("file", or "\file") gives the empty text.
std::u16string directoryNameOf(std::u16string_view path);

}  // namespace Quenta::Interpreter
