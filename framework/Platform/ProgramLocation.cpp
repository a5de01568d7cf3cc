#include "framework/Platform/ProgramLocation.h"

#include <string>
#include <system_error>

#include "framework/Platform/Folders.h"
#include "framework/Platform/NativePath.h"

namespace Arbor::Platform {

namespace {
bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}
}  // namespace

std::filesystem::path executableDirectory() {
    const std::u16string executable = folderService().executablePath();
    if (executable.empty()) return {};
    return toNativePath(executable).parent_path();
}

std::filesystem::path findProgramFile(std::u16string_view path) {
    if (path.empty()) return {};
    std::filesystem::path native = toNativePath(path);
    if (isFile(native)) return native;
    const std::filesystem::path directory = executableDirectory();
    if (directory.empty()) return {};
    // Joined as system text, so that a path beginning with '\' stays below the folder.
    std::u16string joined = fromNativePath(directory);
    joined += u'\\';
    joined += path;
    native = toNativePath(joined);
    return isFile(native) ? native : std::filesystem::path();
}

bool programDirectoryTakesWrites(const std::filesystem::path& directory) {
    if (directory.empty()) return false;
    std::error_code error;
    if (std::filesystem::exists(directory / "INSTALLED", error)) return false;
    return folderService().isWritableDirectory(fromNativePath(directory));
}

}  // namespace Arbor::Platform
