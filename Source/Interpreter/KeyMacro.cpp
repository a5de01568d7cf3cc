#include "Source/Interpreter/KeyMacro.h"

#include <limits>

#include "Source/Data/Repository/RepositoryFiles.h"
#include "Source/Data/Repository/ShortcutSettings.h"
#include "Source/Interpreter/KeyNames.h"

namespace Quenta::Interpreter {

namespace {

// A decimal count of milliseconds; anything else is 0, a huge one the largest wait.
std::uint32_t waitOf(std::u16string_view digits) {
    if (digits.empty()) return 0;
    std::uint64_t value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9') return 0;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
        if (value > std::numeric_limits<std::uint32_t>::max()) value = std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<KeyMacro> parseMacroLine(std::u16string_view line) {
    if (line.empty() || line.front() != u'@') return std::nullopt;
    KeyMacro macro;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find(u' ', start);
        if (end == std::u16string_view::npos) end = line.size();
        const std::u16string_view token = line.substr(start, end - start);
        start = end + 1;
        if (token.empty()) continue;
        const std::u16string_view rest = token.substr(1);
        switch (token.front()) {
            case u'@': macro.name = Data::Repository::ShortcutSettings::unescape(rest); break;
            case u'[':
            case u']': {
                const auto code = KeyNames::codeOf(rest);
                macro.steps.push_back({token.front() == u'[' ? KeyMacroStep::Kind::Press : KeyMacroStep::Kind::Release,
                                       static_cast<std::uint32_t>(code.value_or(0))});
                break;
            }
            case u'%': macro.steps.push_back({KeyMacroStep::Kind::Wait, waitOf(rest)}); break;
            default: break;
        }
    }
    return macro;
}

bool loadMacros(KeyMacroMap& macros, const std::vector<std::u16string>& lines) {
    if (lines.empty()) return false;
    macros.clear();
    for (const std::u16string& line : lines) {
        if (macros.size() >= maximumLoadedMacros) break;
        if (auto macro = parseMacroLine(line)) macros.try_emplace(macro->name, std::move(*macro));
    }
    return true;
}

bool addMacros(KeyMacroMap& macros, const std::vector<std::u16string>& lines) {
    if (lines.empty()) return false;
    for (const std::u16string& line : lines) {
        if (auto macro = parseMacroLine(line)) macros.insert_or_assign(macro->name, std::move(*macro));
    }
    return true;
}

std::vector<std::u16string> readMacroFile(const std::filesystem::path& file) {
    const auto text = Data::Repository::readTextFile(file);
    if (!text || text->empty()) return {};
    return Data::Repository::ShortcutSettings::splitLines(*text);
}

}  // namespace Quenta::Interpreter
