#pragma once
// The characters of a Data folder: every sub-folder and every ".qnd" package (the
// extension compared case-sensitively, taken off the name), in the order Windows' file
// system lists them (ascending by name, a-z folded to upper case) on every platform,
// each name once, at most 255 names (the first 255 in that order).
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
