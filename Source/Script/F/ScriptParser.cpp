#include "Source/Script/F/ScriptParser.h"

#include <array>
#include <optional>

#include "Source/Interpreter/Lexer.h"
#include "Source/Script/F/RegisterKind.h"
#include "framework/Text/TextLines.h"

namespace Quenta::Script {

namespace {

constexpr std::u16string_view kOpenTag = u"<FUNC_";
constexpr std::u16string_view kCloseTag = u"</FUNC_";

struct SectionMarkers {
    SectionKind kind;
    std::u16string_view open;
    std::u16string_view close;
};

constexpr std::array<SectionMarkers, kSectionKindCount> kSections = {{
    {SectionKind::Config, u"<SET_CONFIG>", u"</SET_CONFIG>"},
    {SectionKind::Param, u"<SET_PARAM>", u"</SET_PARAM>"},
    {SectionKind::Text, u"<SET_TEXT>", u"</SET_TEXT>"},
    {SectionKind::CodeInit, u"<SET_CODE_INIT>", u"</SET_CODE_INIT>"},
    {SectionKind::CodeLoop, u"<SET_CODE_LOOP>", u"</SET_CODE_LOOP>"},
}};

std::optional<std::size_t> findStarting(const std::vector<std::u16string>& lines, std::size_t from,
                                        std::u16string_view prefix) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].starts_with(prefix)) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> findEqual(const std::vector<std::u16string>& lines, std::size_t from, std::size_t end,
                                     std::u16string_view text) {
    for (std::size_t i = from; i < end; ++i) {
        if (lines[i] == text) return i;
    }
    return std::nullopt;
}

std::u16string decimal(std::size_t k) {
    const std::string digits = std::to_string(k);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::vector<ConfigField> joinConfigFields(std::span<const std::u16string> lines, std::span<const int> lineNumbers) {
    std::vector<ConfigField> fields;
    std::u16string pending;
    bool open = false;
    int startLine = 0;
    bool started = false;
    auto complete = [&] {
        ConfigField field;
        const std::size_t eq = pending.find(u'=');
        if (eq == std::u16string::npos) {
            field.name = pending;
        } else {
            field.name = pending.substr(0, eq);
            field.value = pending.substr(eq + 1);
        }
        field.line = startLine;
        fields.push_back(std::move(field));
        pending.clear();
        open = false;
        started = false;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::u16string& line = lines[i];
        if (line.empty()) continue;
        if (!started) {
            startLine = i < lineNumbers.size() ? lineNumbers[i] : 0;
            started = true;
        }
        const std::size_t brace = line.find(u'{');
        if (brace != std::u16string::npos) {
            pending.append(line, 0, brace);
            const std::size_t closing = line.find(u'}', brace + 1);
            if (closing != std::u16string::npos) {
                pending.append(line, brace + 1, closing - brace - 1);
                complete();
            } else {
                pending.append(line, brace + 1);
                open = true;
            }
            continue;
        }
        const std::size_t closing = line.find(u'}');
        if (closing != std::u16string::npos) {
            pending.append(line, 0, closing);
            complete();
            continue;
        }
        pending.append(line);
        if (!open) complete();
    }
    // A field still open when the section ends never completed: it is dropped.
    return fields;
}

ScriptParser::ScriptParser() : root_(std::make_unique<Element>(u"RootElement")) {}

void ScriptParser::readFile(std::u16string fileName, std::span<const std::uint8_t> bytes) {
    readLines(std::move(fileName), Arbor::Text::decodeTextLines(bytes));
}

void ScriptParser::readLines(std::u16string fileName, const std::vector<std::u16string>& rawLines) {
    const int file = static_cast<int>(fileNames_.size());
    fileNames_.push_back(std::move(fileName));
    std::vector<std::size_t> rawStarts;
    const std::vector<std::u16string> lines = Interpreter::cleanLines(rawLines, &rawStarts);

    std::size_t current = 0;
    while (true) {
        const auto open = findStarting(lines, current, kOpenTag);
        if (!open) return;
        const auto close = findStarting(lines, *open + 1, kCloseTag);
        if (!close) return;
        const int kind = registerPrefixOf(std::u16string_view(lines[*open]).substr(kOpenTag.size()));
        if (kind < 0) return;
        if (!std::u16string_view(lines[*close]).substr(kCloseTag.size()).starts_with(registerName(kind))) return;
        readBlock(lines, rawStarts, *open, *close, kind, file);
        current = *close + 1;
    }
}

void ScriptParser::readBlock(const std::vector<std::u16string>& lines, const std::vector<std::size_t>& rawStarts,
                             std::size_t open, std::size_t close, int registerIndex, int file) {
    auto lineNumber = [&](std::size_t cleanedIndex) {
        return cleanedIndex < rawStarts.size() ? static_cast<int>(rawStarts[cleanedIndex]) + 1 : 0;
    };
    const std::u16string name(registerName(registerIndex));
    Element* registerElement = root_->findChild(name);
    if (!registerElement) registerElement = &root_->addChild(name);
    Element& block = registerElement->addChild(name);
    block.spot = {file, lineNumber(open)};

    for (const SectionMarkers& markers : kSections) {
        const auto begin = findEqual(lines, open + 1, close, markers.open);
        if (!begin) continue;
        const auto end = findEqual(lines, *begin + 1, close, markers.close);
        if (!end) continue;
        Element& section = block.addChild(std::u16string(sectionKindName(markers.kind)));
        section.spot = {file, lineNumber(*begin)};
        if (markers.kind == SectionKind::Config) {
            std::vector<int> numbers;
            for (std::size_t i = *begin + 1; i < *end; ++i) numbers.push_back(lineNumber(i));
            const std::span<const std::u16string> inner(lines.data() + *begin + 1, *end - *begin - 1);
            for (ConfigField& field : joinConfigFields(inner, numbers)) {
                section.values().push_back({std::move(field.name), std::move(field.value), {file, field.line}});
            }
            continue;
        }
        std::size_t k = 0;
        for (std::size_t i = *begin + 1; i < *end; ++i) {
            if (lines[i].empty()) continue;
            std::u16string value = markers.kind == SectionKind::Param ? decimal(k) + u"," + lines[i] : lines[i];
            section.values().push_back({decimal(k), std::move(value), {file, lineNumber(i)}});
            ++k;
        }
    }
}

}  // namespace Quenta::Script
