#include "Source/Script/F/ReferenceCheck.h"

#include <optional>
#include <vector>

#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Script/F/RecordEvaluation.h"

namespace Quenta::Script {

using Interpreter::Parser;
using Interpreter::ScriptException;

namespace {

struct Reference {
    RegisterKind kind;
    int field;
    bool list;
};

const std::vector<Reference>& references() {
    static const std::vector<Reference> all = {
        {RegisterKind::Order, OrderField::FuncNameMotion, false},
        {RegisterKind::Order, OrderField::FuncNameImageLayer, true},
        {RegisterKind::Order, OrderField::ListHitArea, true},
        {RegisterKind::Order, OrderField::ListHitEvent, true},
        {RegisterKind::Order, OrderField::ListConditionEvent, true},
        {RegisterKind::HitEvent, HitEventField::MyHitArea, true},
        {RegisterKind::BalloonOrder, BalloonOrderField::FuncNameMotion, false},
        {RegisterKind::BalloonOrder, BalloonOrderField::FuncNameImageLayer, true},
        {RegisterKind::BalloonOrder, BalloonOrderField::FuncNameTextLayer, true},
        {RegisterKind::TextLayer, TextLayerField::FuncNameTextStyle, false},
    };
    return all;
}

std::optional<std::vector<std::u16string>> namesOf(Parser& parser, const DefinitionRecord& record, const Reference& ref) {
    try {
        if (ref.list) return evaluateNameList(parser, record.field(ref.field));
        std::u16string name = evaluateField(parser, record, ref.field)->toStr();
        if (name.empty()) return std::vector<std::u16string>{};
        return std::vector<std::u16string>{std::move(name)};
    } catch (const ScriptException&) {
        return std::nullopt;
    }
}

}  // namespace

void checkRecordReferences(const DefinitionData& data, std::u16string* where) {
    Parser parser;
    parser.setFunctionObjects(&data.functionObjects());
    for (const auto& record : data.records()) {
        for (const Reference& ref : references()) {
            if (ref.kind != record->kind()) continue;
            const auto names = namesOf(parser, *record, ref);
            if (!names) continue;
            for (const auto& name : *names) {
                if (data.find(name)) continue;
                if (where) *where = describeField(*record, ref.field);
                data.findRecord(name);  // throws the host's message
            }
        }
    }
}

}  // namespace Quenta::Script
