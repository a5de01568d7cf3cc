#pragma once
// Text files as lines: how definition files and other line-based character files are
// read from their bytes.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Arbor::Text {

// Decodes UTF-8 (a UTF-8 byte-order mark is skipped; a file that starts with a UTF-32,
// UTF-16 or UTF-7 byte-order mark reads as no lines) and splits it into lines: at line
// feeds, and at carriage returns in the part after the last line feed. Trailing
// carriage returns and line feeds are removed from each line. A final line break does
// not start another, empty line.
std::vector<std::u16string> decodeTextLines(std::span<const std::uint8_t> bytes);

}  // namespace Arbor::Text
