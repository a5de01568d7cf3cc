#include "Source/Script/F/DefinitionRecord.h"

namespace Quenta::Script {

namespace {
bool validSection(SectionKind kind) {
    const int k = static_cast<int>(kind);
    return k >= 0 && k < kSectionKindCount;
}
}  // namespace

const Interpreter::TokenBlock* DefinitionRecord::section(SectionKind kind) const {
    if (!validSection(kind)) return nullptr;
    const auto& s = sections_[static_cast<std::size_t>(kind)];
    return s ? &*s : nullptr;
}

Interpreter::TokenBlock* DefinitionRecord::mutableSection(SectionKind kind) {
    if (!validSection(kind)) return nullptr;
    auto& s = sections_[static_cast<std::size_t>(kind)];
    return s ? &*s : nullptr;
}

void DefinitionRecord::setSection(SectionKind kind, Interpreter::TokenBlock lines) {
    if (!validSection(kind)) return;
    sections_[static_cast<std::size_t>(kind)] = std::move(lines);
}

const Interpreter::TokenLine& DefinitionRecord::field(int fieldIndex) const {
    static const Interpreter::TokenLine empty;
    const Interpreter::TokenBlock* config = section(SectionKind::Config);
    if (!config || fieldIndex < 0 || static_cast<std::size_t>(fieldIndex) >= config->size()) return empty;
    return (*config)[static_cast<std::size_t>(fieldIndex)];
}

}  // namespace Quenta::Script
