#pragma once
// The characters of a Data folder: every sub-folder and every ".qnd" package (the
// extension compared case-sensitively, taken off the name), in the order the file
// system enumerates them, each name once, at most 255 names.
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
