#pragma once
// Desktop entries (the freedesktop ".desktop" files of installed applications): the
// keys of their [Desktop Entry] group, the program their Exec line starts, and the
// lookups the desktop services need (an entry by its id, the entry that starts a
// given executable).
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace Arbor::Platform::Posix {

struct DesktopEntry {
    std::map<std::string, std::string> keys;  // of the [Desktop Entry] group, unescaped
    std::string value(const std::string& key) const;
};

// Nothing when the file cannot be read or has no [Desktop Entry] group.
std::optional<DesktopEntry> readDesktopEntry(const std::filesystem::path& file);

// The program an Exec value starts: its first word, with the entry's quoting undone;
// empty for an empty value.
std::string execProgram(std::string_view exec);

// A program name as the shell finds it: an absolute path as it stands (when it is an
// executable file), a bare name on $PATH; empty otherwise.
std::filesystem::path findExecutable(const std::string& program);

// The file of a desktop-file id ("firefox-esr.desktop", "org.gnome.Foo.desktop"):
// under applications/ of $XDG_DATA_HOME and then of each $XDG_DATA_DIRS entry, a "-"
// of the id also standing for a sub-folder. Empty when there is none.
std::filesystem::path findDesktopFile(std::string_view id);

// The Name of the first desktop entry, in the same search order, whose Exec starts the
// executable (compared as full paths once found on $PATH); empty when none does.
std::string nameOfEntryStarting(const std::filesystem::path& executable);

}  // namespace Arbor::Platform::Posix
