#pragma once
// The user's XDG base directories, read from the environment at each call so that a
// test can point them at a temporary folder: $XDG_CONFIG_HOME (else ~/.config),
// $XDG_DATA_HOME (else ~/.local/share) and $XDG_DATA_DIRS (else /usr/local/share and
// /usr/share). Relative values are ignored, as the XDG rules say.
#include <filesystem>
#include <vector>

namespace Arbor::Platform::Posix {

std::filesystem::path xdgConfigHome();
std::filesystem::path xdgDataHome();
std::vector<std::filesystem::path> xdgDataDirs();

}  // namespace Arbor::Platform::Posix
