#include "Source/Script/F/DefinitionData.h"

#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Script/F/DefinitionMessages.h"
#include "Source/Script/F/ScriptParser.h"

namespace Quenta::Script {

using Interpreter::ScriptException;
using Interpreter::Token;
using Interpreter::TokenBlock;
using Interpreter::TokenKind;
using Interpreter::TokenLine;

namespace {

std::u16string decimal(int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

void setWhere(std::u16string* where, std::u16string text) {
    if (where) *where = std::move(text);
}

// How a record is named in reports before it has its name: the raw FuncName text.
std::u16string rawName(const Element* config) {
    if (!config) return {};
    for (const auto& node : config->values()) {
        if (node.name == u"FuncName") return node.value;
    }
    return {};
}

std::u16string recordLabel(int kind, const std::u16string& name) {
    std::u16string label(registerName(kind));
    if (!name.empty()) label += u" \"" + name + u"\"";
    return label;
}

const std::u16string& fileName(const ScriptParser& reader, int file) {
    static const std::u16string none;
    return file >= 0 && static_cast<std::size_t>(file) < reader.fileNames().size()
               ? reader.fileNames()[static_cast<std::size_t>(file)]
               : none;
}

// The place text is only built when the line fails.
template <class Place>
TokenLine tokenize(const std::u16string& text, std::u16string* where, Place&& place) {
    try {
        return Interpreter::tokenizeLine(text);
    } catch (const ScriptException&) {
        setWhere(where, place());
        throw;
    }
}

}  // namespace

std::u16string describeSpot(std::u16string_view file, int line) {
    std::u16string text(file);
    if (line > 0) text += u":" + decimal(line);
    return text;
}

std::u16string describeField(const DefinitionRecord& record, int field) {
    const auto& lines = record.origin.fieldLines;
    const auto& names = fieldNames(record.registerIndex());
    const bool known = field >= 0 && static_cast<std::size_t>(field) < names.size();
    const int line = known && static_cast<std::size_t>(field) < lines.size() && lines[static_cast<std::size_t>(field)] > 0
                         ? lines[static_cast<std::size_t>(field)]
                         : record.origin.line;
    return describeSpot(record.origin.file, line) + u": " + recordLabel(record.registerIndex(), record.funcName()) +
           u", field " + (known ? names[static_cast<std::size_t>(field)] : decimal(field));
}

DefinitionRecord& DefinitionData::addRecord(RegisterKind kind) {
    const int index = static_cast<int>(records_.size());
    records_.push_back(std::make_unique<DefinitionRecord>(index, kind));
    functionObjects_.push_back(records_.back().get());
    indexLists_[static_cast<std::size_t>(kind)].push_back(index);
    return *records_.back();
}

std::unique_ptr<DefinitionData> DefinitionData::build(const ScriptParser& reader, std::u16string* where) {
    auto data = std::make_unique<DefinitionData>();
    const Element& root = reader.root();
    for (int kind = 0; kind < kRegisterKindCount; ++kind) {
        const Element* registerElement = root.findChild(registerName(kind));
        if (!registerElement) continue;
        const auto& names = fieldNames(kind);
        for (const auto& block : registerElement->children()) {
            DefinitionRecord& record = data->addRecord(static_cast<RegisterKind>(kind));
            record.origin.file = fileName(reader, block->spot.file);
            record.origin.line = block->spot.line;
            const Element* configElement = block->findChild(u"Config");
            auto labelOf = [&] { return recordLabel(kind, rawName(configElement)); };

            for (int s = 0; s < kSectionKindCount; ++s) {
                const auto sectionKind = static_cast<SectionKind>(s);
                const Element* section = block->findChild(sectionKindName(sectionKind));
                if (!section) continue;
                TokenBlock lines;
                if (sectionKind == SectionKind::Config) {
                    lines.resize(names.size());
                    record.origin.fieldLines.assign(names.size(), 0);
                    lines[0].push_back(Token(TokenKind::Identifier, kind, names[0]));
                    record.origin.fieldLines[0] = block->spot.line;
                    for (const auto& node : section->values()) {
                        const int field = fieldIndex(kind, node.name);
                        // The kind marker is the loader's own; a field of that name
                        // cannot replace it.
                        if (field <= 0) continue;
                        lines[static_cast<std::size_t>(field)] = tokenize(node.value, where, [&] {
                            return describeSpot(record.origin.file, node.spot.line) + u": " + labelOf() + u", field " +
                                   node.name;
                        });
                        record.origin.fieldLines[static_cast<std::size_t>(field)] = node.spot.line;
                    }
                } else {
                    auto& lineNumbers = record.origin.sectionLines[static_cast<std::size_t>(s)];
                    int k = 0;
                    for (const auto& node : section->values()) {
                        lines.push_back(tokenize(node.value, where, [&] {
                            return describeSpot(record.origin.file, node.spot.line) + u": " + labelOf() + u", " +
                                   std::u16string(sectionKindName(sectionKind)) + u" line " + decimal(k);
                        }));
                        lineNumbers.push_back(node.spot.line);
                        ++k;
                    }
                }
                record.setSection(sectionKind, std::move(lines));
            }
        }
    }
    setWhere(where, {});
    return data;
}

void DefinitionData::link(std::u16string* where) {
    for (const auto& record : records_) {
        TokenBlock* config = record->mutableSection(SectionKind::Config);
        if (!config || config->size() < 2 || (*config)[1].empty() || (*config)[1][0].text.empty()) {
            setWhere(where, describeSpot(record->origin.file, record->origin.line) + u": " +
                                std::u16string(registerName(record->registerIndex())) +
                                (config ? u" block has no FuncName" : u" block has no <SET_CONFIG> section"));
            throw ScriptException(Messages::blockWithoutName(registerName(record->registerIndex())));
        }
        Token& nameToken = (*config)[1][0];
        nameToken.kind = TokenKind::FuncBlock;
        nameToken.number = record->recordIndex();
        record->setFuncName(nameToken.text);
        const auto [it, inserted] = names_.emplace(nameToken.text, record->recordIndex());
        if (!inserted) {
            const DefinitionRecord& first = *records_[static_cast<std::size_t>(it->second)];
            setWhere(where, describeSpot(record->origin.file, record->origin.line) + u": " +
                                recordLabel(record->registerIndex(), nameToken.text) + u", first defined at " +
                                describeSpot(first.origin.file, first.origin.line) + u" as " +
                                std::u16string(registerName(first.registerIndex())));
            throw ScriptException(Messages::duplicateName(nameToken.text));
        }
    }
    for (const auto& record : records_) {
        for (int s = 0; s < kSectionKindCount; ++s) {
            TokenBlock* lines = record->mutableSection(static_cast<SectionKind>(s));
            if (!lines) continue;
            for (TokenLine& line : *lines) {
                for (Token& token : line) {
                    if (token.kind != TokenKind::Identifier) continue;
                    const auto found = names_.find(token.text);
                    if (found == names_.end()) continue;
                    token.kind = TokenKind::FuncBlock;
                    token.number = found->second;
                }
            }
        }
    }
    setWhere(where, {});
}

DefinitionRecord* DefinitionData::find(std::u16string_view name) const {
    const auto found = names_.find(name);
    return found == names_.end() ? nullptr : records_[static_cast<std::size_t>(found->second)].get();
}

DefinitionRecord& DefinitionData::findRecord(std::u16string_view name) const {
    if (DefinitionRecord* record = find(name)) return *record;
    throw ScriptException(Messages::unknownRecord(name));
}

DefinitionRecord& DefinitionData::initialRecord() const {
    const auto& initials = indexList(RegisterKind::Initial);
    if (initials.empty()) throw ScriptException(std::u16string(Messages::kNoInitialRecord));
    return record(initials.front());
}

}  // namespace Quenta::Script
