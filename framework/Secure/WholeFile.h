#pragma once
// Reading and writing a file in one piece. Writing goes to a temporary file beside the
// target that is renamed over it only once complete, so a failed write leaves the
// previous file (or none) and never a partial one.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace Arbor::Secure {

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path);

bool writeWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace Arbor::Secure
