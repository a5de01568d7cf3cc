#pragma once
// How voice-command files are read and written: UTF-8 text, with a UTF-8 byte-order
// mark skipped on reading and written on writing; whole-file replacement so that an
// interrupted write never leaves half a file.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace Quenta::Data::Repository {

// The file's text. A file that cannot be read, or that starts with another Unicode
// byte-order mark, gives nothing.
std::optional<std::u16string> readTextFile(const std::filesystem::path& path);
// Decodes file bytes by the same rules.
std::u16string decodeText(std::string_view bytes);
// UTF-8 with byte-order mark, through a temporary file and a rename.
bool writeTextFile(const std::filesystem::path& path, std::u16string_view text);
// The extension of the path's file name, from its last ".", as system text (".ctpl").
std::u16string extensionOf(const std::filesystem::path& path);
bool isRegularFile(const std::filesystem::path& path);

}  // namespace Quenta::Data::Repository
