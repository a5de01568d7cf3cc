#pragma once
// A character's definition data: every register record in build order, the records of
// each kind, and the map from FuncName to record. Built once per character start by
// the loader and read-only afterwards.
#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Source/Script/F/DefinitionRecord.h"

namespace Quenta::Script {

class ScriptParser;

class DefinitionData {
public:
    DefinitionData() = default;
    DefinitionData(const DefinitionData&) = delete;
    DefinitionData& operator=(const DefinitionData&) = delete;

    // Turns the reader's tree into records: for each kind in register order, each
    // block in order. Throws ScriptException on a lexical error; `where`, when given,
    // then tells the file, line, record and field.
    static std::unique_ptr<DefinitionData> build(const ScriptParser& reader, std::u16string* where = nullptr);

    // Names the records and links every bare mention of a name into a FUNC_BLOCK
    // token. Throws ScriptException for a block without a FuncName and for a name used
    // twice. Called once, after build.
    void link(std::u16string* where = nullptr);

    std::size_t size() const { return records_.size(); }
    DefinitionRecord& record(int index) const { return *records_.at(static_cast<std::size_t>(index)); }
    const std::vector<std::unique_ptr<DefinitionRecord>>& records() const { return records_; }
    // The records as function objects, indexed like FUNC_BLOCK tokens (for
    // Parser::setFunctionObjects).
    const std::vector<Interpreter::RegisterRecord*>& functionObjects() const { return functionObjects_; }

    // The record indices of one kind, in block order.
    const std::vector<int>& indexList(RegisterKind kind) const {
        return indexLists_[static_cast<std::size_t>(kind)];
    }

    // The record with that FuncName, or null.
    DefinitionRecord* find(std::u16string_view name) const;
    // The record with that FuncName; throws name + "は存在しません。" when there is none.
    DefinitionRecord& findRecord(std::u16string_view name) const;
    // The first INITIAL_REG record; throws "Initial 関数が存在しません。" when there is none.
    DefinitionRecord& initialRecord() const;

    // Appends an empty record of a kind (for the builder and for tests).
    DefinitionRecord& addRecord(RegisterKind kind);

private:
    std::vector<std::unique_ptr<DefinitionRecord>> records_;
    std::vector<Interpreter::RegisterRecord*> functionObjects_;
    std::array<std::vector<int>, kRegisterKindCount> indexLists_;
    std::map<std::u16string, int, std::less<>> names_;
};

// "file:line" (or just the file when the line is unknown).
std::u16string describeSpot(std::u16string_view file, int line);
// "file:line: KIND_REG "Name", field FieldName", for reports about one field.
std::u16string describeField(const DefinitionRecord& record, int field);

}  // namespace Quenta::Script
