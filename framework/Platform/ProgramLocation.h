#pragma once
// Where the running executable lives; the program finds its data relative to it.
#include <filesystem>

namespace Arbor::Platform {

// The directory holding the running executable; empty when it cannot be determined.
std::filesystem::path executableDirectory();

}  // namespace Arbor::Platform
