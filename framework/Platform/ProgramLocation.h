#pragma once
// Where the running executable lives; the program finds its data relative to it. Both
// come from FolderService::executablePath, the one place that asks the system.
#include <filesystem>
#include <string_view>

namespace Arbor::Platform {

// The directory holding the running executable; empty when it cannot be determined.
std::filesystem::path executableDirectory();

// The file a data path names: the path as given when a regular file is there, else the
// same path taken relative to the executable's directory when a regular file is there
// (character data names files relative to the program). `path` is system text with
// '\' separators. Empty when neither exists.
std::filesystem::path findProgramFile(std::u16string_view path);

// Whether the program may keep its writable files in its own directory: the directory
// must pass the folder service's writability test and must not be marked as installed
// (a file named "INSTALLED" in it, put there by the install step). An installed program
// directory belongs to the system even when the user can write to it (running as root,
// or a prefix the user owns), so its writes go to the per-user folder instead.
bool programDirectoryTakesWrites(const std::filesystem::path& directory);

}  // namespace Arbor::Platform
