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

}  // namespace Arbor::Platform
