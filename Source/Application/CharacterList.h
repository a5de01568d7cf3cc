#pragma once
// The characters of a Data folder: every sub-folder and every ".qnd" package (the
// extension compared case-sensitively, taken off the name), each name once, at most
// 255 names, in ascending order of name with letters compared as capitals, on every
// backend: the order the Windows file system lists them in, so that the registry
// order and the stacking of characters repeat from run to run and system to system.
#include <filesystem>
#include <string>
#include <vector>

namespace Quenta::Application {

class CharacterList {
public:
    static constexpr size_t maxCharacters = 255;

    // An unreadable or missing folder gives the empty list.
    static std::vector<std::u16string> read(const std::filesystem::path& dataDirectory);
};

}  // namespace Quenta::Application
