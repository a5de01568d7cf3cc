#pragma once
// The on-disk form of a character's value store: a UTF-16LE text without byte-order
// mark, "{" "key":value,... "}", scrambled byte by byte with an MRand stream seeded by
// the CRC-32 of the package password. This file holds the pieces that do not need the
// script lexer: the byte layer, quoting and splitting, and whole-or-nothing writing.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Quenta::Interpreter::ValueStoreFile {

// CRC-32 (zlib's) of the UTF-16LE bytes of the package password.
std::uint32_t scrambleSeed();

// Text to scrambled UTF-16LE bytes, and back. A trailing odd byte is ignored.
std::vector<std::uint8_t> encode(std::u16string_view text);
std::u16string decode(std::vector<std::uint8_t> bytes);

// A string literal the script lexer reads back as `text`: in double quotes, with "\"
// and the double quote escaped by a backslash. Nothing else needs escaping: the lexer
// keeps every other character of a literal as it is.
std::u16string quote(std::u16string_view text);

// The entries of an unscrambled store text: the text after the first "{" and before
// the last "}", split at every comma that is outside a string literal (string
// literals are scanned as the lexer scans them, so "\"" and "\\" do not end them).
// Files from before texts were escaped have no commas inside literals, so they split
// as they always did. Without "{" ... "}" there are no entries.
std::vector<std::u16string> splitEntries(std::u16string_view text);

// All bytes of a file; false when it cannot be read.
bool readBytes(const std::filesystem::path& file, std::vector<std::uint8_t>& bytes);

// Writes the bytes to a temporary file beside `file` and renames it over `file`, so
// the file is either the old one or the complete new one, never a truncated mix. The
// folder must exist. False when anything fails; the old file then stays.
bool writeBytesAtomically(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);

}  // namespace Quenta::Interpreter::ValueStoreFile
