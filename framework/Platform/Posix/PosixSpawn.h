#pragma once
// Running helper programs of the desktop (xdg-open, xdg-mime): started without a
// shell, with the standard input closed and no descriptors inherited.
#include <optional>
#include <string>
#include <vector>

namespace Arbor::Platform::Posix {

// Starts the program (searched on $PATH) and lets it run on its own; it is reaped by
// a small waiting thread. False when it could not be started.
bool spawnDetached(const std::vector<std::string>& arguments);

// Runs the program and returns what it wrote to its standard output, when it ended
// with exit code 0 within the time limit (it is killed otherwise); at most 64 KiB.
std::optional<std::string> runAndRead(const std::vector<std::string>& arguments, int timeoutMilliseconds = 5000);

}  // namespace Arbor::Platform::Posix
