#pragma once
// System paths use '\' as character data does; this maps them to the host's form.
#include <filesystem>
#include <string>
#include <string_view>

namespace Arbor::Platform {

// '\' becomes '/' on POSIX; on Windows the text is taken as it stands.
std::filesystem::path toNativePath(std::u16string_view systemPath);

// The inverse: a native path as system text with '\' separators.
std::u16string fromNativePath(const std::filesystem::path& native);

}  // namespace Arbor::Platform
