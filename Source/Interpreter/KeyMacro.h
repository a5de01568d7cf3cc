#pragma once
// Key macros: named, timed sequences of key presses, releases and waits, read from
// macro files. A macro line is "@name" followed by tokens separated by single spaces:
// "[KEY" presses, "]KEY" releases, "%MS" waits; other tokens are ignored.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quenta::Interpreter {

struct KeyMacroStep {
    enum class Kind : std::uint8_t { Press, Release, Wait };
    Kind kind = Kind::Wait;
    std::uint32_t value = 0;  // the key code, or the milliseconds of a wait
    friend bool operator==(const KeyMacroStep&, const KeyMacroStep&) = default;
};

struct KeyMacro {
    std::u16string name;
    std::vector<KeyMacroStep> steps;
};

using KeyMacroMap = std::map<std::u16string, KeyMacro, std::less<>>;

// The macro a line defines; nothing for a line that does not begin with "@".
std::optional<KeyMacro> parseMacroLine(std::u16string_view line);

// The most macros a load keeps.
inline constexpr std::size_t maximumLoadedMacros = 10000;

// LoadMacrosFromFile on the lines of a file: when there is at least one line, the map
// is emptied and refilled, the first definition of a name winning, until it holds
// maximumLoadedMacros. False for no lines (the map is then untouched).
bool loadMacros(KeyMacroMap& macros, const std::vector<std::u16string>& lines);
// AddMacrosFromFile: adds to the map, a later definition replacing an earlier one.
bool addMacros(KeyMacroMap& macros, const std::vector<std::u16string>& lines);

// The lines of a macro file (UTF-8, a byte-order mark skipped); none when it is
// missing, unreadable or empty.
std::vector<std::u16string> readMacroFile(const std::filesystem::path& file);

}  // namespace Quenta::Interpreter
