#pragma once
// Reads a character's ".func" files into the element tree: blocks between "<FUNC_..."
// and "</FUNC_..." tag lines, and in each block the Config, Param, Text, CodeInit and
// CodeLoop sections. Malformed tag lines are not errors: the rest of their file is
// ignored. Never throws; lexical errors surface later, when the records are built.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Source/Script/F/ElementTree.h"

namespace Quenta::Script {

class ScriptParser {
public:
    ScriptParser();
    ScriptParser(const ScriptParser&) = delete;
    ScriptParser& operator=(const ScriptParser&) = delete;

    // Decodes the file (UTF-8; a UTF-8 byte-order mark is skipped, any other mark makes
    // the file empty), splits and cleans its lines and adds its blocks to the tree.
    void readFile(std::u16string fileName, std::span<const std::uint8_t> bytes);
    // The same for lines already decoded and split (not yet cleaned).
    void readLines(std::u16string fileName, const std::vector<std::u16string>& rawLines);

    // "RootElement", with one child per register kind met, in order of first use.
    Element& root() { return *root_; }
    const Element& root() const { return *root_; }
    // The files read so far, in reading order (SourceSpot::file indexes this).
    const std::vector<std::u16string>& fileNames() const { return fileNames_; }

private:
    void readBlock(const std::vector<std::u16string>& lines, const std::vector<std::size_t>& rawStarts,
                   std::size_t open, std::size_t close, int registerIndex, int file);

    std::unique_ptr<Element> root_;
    std::vector<std::u16string> fileNames_;
};

// The Config brace continuation, exposed for tests: joins the section's non-empty
// cleaned lines into "name=value" fields. `lineNumbers` (same length as `lines`)
// gives each field the line it started on.
struct ConfigField {
    std::u16string name;
    std::u16string value;
    int line = 0;
};
std::vector<ConfigField> joinConfigFields(std::span<const std::u16string> lines, std::span<const int> lineNumbers);

}  // namespace Quenta::Script
