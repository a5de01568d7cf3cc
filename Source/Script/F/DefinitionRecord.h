#pragma once
// One register record: a block of a ".func" file turned into token lines. The Config
// section is a field table (one token line per field of the kind, in field order);
// the other sections are lists of token lines. Also what a function object points at.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "Source/Interpreter/RegisterRecord.h"
#include "Source/Interpreter/Token.h"
#include "Source/Script/F/RegisterKind.h"

namespace Quenta::Script {

// Where a record was written, for error reports: its file, the line of its opening tag,
// and the line of each field and of each section line (0 when unknown).
struct RecordOrigin {
    std::u16string file;
    int line = 0;
    std::vector<int> fieldLines;
    std::array<std::vector<int>, kSectionKindCount> sectionLines;
};

class DefinitionRecord final : public Interpreter::RegisterRecord {
public:
    DefinitionRecord(int recordIndex, RegisterKind kind) : index_(recordIndex), kind_(kind) {}
    DefinitionRecord(const DefinitionRecord&) = delete;
    DefinitionRecord& operator=(const DefinitionRecord&) = delete;

    const std::u16string& funcName() const override { return name_; }
    int recordIndex() const override { return index_; }

    RegisterKind kind() const { return kind_; }
    int registerIndex() const { return static_cast<int>(kind_); }

    // The section of that kind, or null when the block had none (Invalid: always null).
    const Interpreter::TokenBlock* section(SectionKind kind) const;
    Interpreter::TokenBlock* mutableSection(SectionKind kind);
    // The kind itself when present, else SectionKind::Invalid (how a missing code
    // section is told).
    SectionKind presentKind(SectionKind kind) const { return section(kind) ? kind : SectionKind::Invalid; }
    void setSection(SectionKind kind, Interpreter::TokenBlock lines);

    // A Config field's token line; an empty line for a field the block did not set and
    // for an index beyond the kind's table.
    const Interpreter::TokenLine& field(int fieldIndex) const;

    void setFuncName(std::u16string name) { name_ = std::move(name); }

    RecordOrigin origin;

private:
    int index_;
    RegisterKind kind_;
    std::u16string name_;
    std::array<std::optional<Interpreter::TokenBlock>, kSectionKindCount> sections_;
};

}  // namespace Quenta::Script
