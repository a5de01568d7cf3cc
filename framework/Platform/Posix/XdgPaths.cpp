#if !defined(_WIN32)
#include "framework/Platform/Posix/XdgPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace Arbor::Platform::Posix {

namespace {

std::filesystem::path absoluteEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') return {};
    return value;
}

std::filesystem::path home() {
    if (auto path = absoluteEnvironment("HOME"); !path.empty()) return path;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return {};
}

}  // namespace

std::filesystem::path xdgConfigHome() {
    if (auto path = absoluteEnvironment("XDG_CONFIG_HOME"); !path.empty()) return path;
    const auto base = home();
    return base.empty() ? base : base / ".config";
}

std::filesystem::path xdgDataHome() {
    if (auto path = absoluteEnvironment("XDG_DATA_HOME"); !path.empty()) return path;
    const auto base = home();
    return base.empty() ? base : base / ".local" / "share";
}

std::vector<std::filesystem::path> xdgDataDirs() {
    std::vector<std::filesystem::path> dirs;
    const char* value = std::getenv("XDG_DATA_DIRS");
    const std::string list = value && *value ? value : "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const std::string part = list.substr(start, end - start);
        if (!part.empty() && part[0] == '/') dirs.emplace_back(part);
        start = end + 1;
    }
    return dirs;
}

}  // namespace Arbor::Platform::Posix
#endif
