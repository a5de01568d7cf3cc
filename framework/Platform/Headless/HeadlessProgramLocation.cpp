// The executable's location where the host is not Windows (Windows builds use the module
// file name, Win32ProgramLocation.cpp, whichever backend is selected).
#if !defined(_WIN32)
#include <system_error>

#include "framework/Platform/ProgramLocation.h"

namespace Arbor::Platform {

std::filesystem::path executableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path();
}

}  // namespace Arbor::Platform
#endif
