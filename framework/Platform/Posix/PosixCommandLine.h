#pragma once
// Splits a command line into arguments by the quoting rules of the system's command
// lines: blanks separate; double quotes group; 2n backslashes before a quote give n
// backslashes and the quote's meaning, 2n+1 give n and a literal quote; "" inside a
// quoted part is a literal quote; other backslashes are literal.
#include <string>
#include <string_view>
#include <vector>

namespace Arbor::Platform::Posix {

std::vector<std::string> splitCommandLine(std::string_view commandLine);

}  // namespace Arbor::Platform::Posix
