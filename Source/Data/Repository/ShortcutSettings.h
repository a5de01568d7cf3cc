#pragma once
// The ".cnf" line format of the user's shortcut settings: one line per command,
//     $identifier = "command text"   ## comment
// Only lines that begin with "$" count. Values are escaped so that any text survives
// a write and a read (except double quotes at its very end).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quenta::Data::Repository::ShortcutSettings {

struct Setting {
    std::u16string identifier;
    std::u16string value;
};

// The lines of a settings file's text: split at LF (a CR before it is dropped), or at
// CR when the text has no LF at all.
std::vector<std::u16string> splitLines(std::u16string_view text);
// The setting a line makes, or nothing when the line does not count.
std::optional<Setting> parseLine(std::u16string_view line);
// Every counting line of the lines, in order.
std::vector<Setting> parseLines(const std::vector<std::u16string>& lines);

std::u16string escape(std::u16string_view value);
std::u16string unescape(std::u16string_view value);
// identifier="escaped value"
std::u16string formatLine(std::u16string_view identifier, std::u16string_view value);

// Writes the lines joined with CR LF (none after the last) as UTF-8 with a byte-order
// mark, whole or not at all.
bool writeLines(const std::filesystem::path& path, const std::vector<std::u16string>& lines);

}  // namespace Quenta::Data::Repository::ShortcutSettings
