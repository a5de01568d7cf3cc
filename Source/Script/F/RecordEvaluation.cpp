#include "Source/Script/F/RecordEvaluation.h"

#include "Source/Interpreter/Evaluator.h"
#include "framework/Numeric/GlobalRandom.h"

namespace Quenta::Script {

using Interpreter::FuncObjectValue;
using Interpreter::Parser;
using Interpreter::TokenKind;
using Interpreter::TokenLine;
using Interpreter::Value;

namespace {

// Calls `each` with every expression of an argument-mode list, in order.
template <class Each>
void forEachEntry(Parser& parser, const TokenLine& line, Each&& each) {
    parser.setLine(line);
    while (parser.tokenIndex() < static_cast<int>(line.size())) {
        const int before = parser.tokenIndex();
        const bool empty = parser.currentToken().kind == TokenKind::Comma;
        Value* value = Interpreter::evaluate(parser, true);
        each(value, empty);
        if (parser.currentToken().kind == TokenKind::Comma) {
            parser.nextToken();
        } else if (parser.tokenIndex() <= before || parser.tokenIndex() < static_cast<int>(line.size())) {
            // Stopped on something that cannot continue a list: the rest is not part of it.
            break;
        }
    }
}

}  // namespace

Value* evaluateField(Parser& parser, const DefinitionRecord& record, int fieldIndex) {
    parser.setLine(record.field(fieldIndex));
    parser.resetTemporaries();
    return Interpreter::evaluate(parser, false);
}

std::vector<std::u16string> evaluateNameList(Parser& parser, const TokenLine& line) {
    parser.resetTemporaries();
    std::vector<std::u16string> names;
    forEachEntry(parser, line, [&](Value* value, bool empty) {
        if (!empty && value->type() != Interpreter::ValueType::Void) names.push_back(value->toStr());
    });
    return names;
}

std::u16string evaluateWeightedPick(Parser& parser, const TokenLine& line) {
    return evaluateWeightedPick(parser, line, Arbor::Numeric::globalUniform());
}

std::u16string evaluateWeightedPick(Parser& parser, const TokenLine& line, double r) {
    parser.resetTemporaries();
    struct Entry {
        std::u16string name;
        double weight;
    };
    std::vector<Entry> entries;
    double sum = 0.0;
    forEachEntry(parser, line, [&](Value* value, bool) {
        if (value->type() != Interpreter::ValueType::FuncObject) return;
        const auto* object = static_cast<const FuncObjectValue*>(value);
        if (!object->record()) return;
        // A weight that is not positive can never be picked; keeping it out of the
        // sum keeps the other entries' shares right.
        if (!(object->weight() > 0.0)) return;
        entries.push_back({object->toStr(), object->weight()});
        sum += object->weight();
    });
    if (entries.empty()) return {};
    const double target = r * sum;
    double total = 0.0;
    for (const Entry& entry : entries) {
        if (target >= total && target < total + entry.weight) return entry.name;
        total += entry.weight;
    }
    // Only reachable through rounding at the top of the range.
    return entries.back().name;
}

FrameParameters evaluateFrameLine(Parser& parser, const TokenLine& line) {
    parser.resetTemporaries();
    FrameParameters frame;
    int position = 0;
    forEachEntry(parser, line, [&](Value* value, bool) {
        switch (position++) {
            case 0: frame.index = value->toInt(); break;
            case 1: frame.sourceX = value->toInt(); break;
            case 2: frame.sourceY = value->toInt(); break;
            case 3: frame.moveX = value->toNum(); break;
            case 4: frame.moveY = value->toNum(); break;
            case 5: frame.duration = value->toInt(); break;
            case 6: frame.imageName = value->toStr(); break;
            case 7: frame.soundName = value->toStr(); break;
            default: break;
        }
    });
    return frame;
}

ConstantScope::ConstantScope(Parser& parser, const NamedConstants* constants)
    : node_(u"local"), push_(parser, node_) {
    if (constants) {
        for (const auto& [name, value] : *constants) node_.setNumber(name, value);
    }
}

Value* evaluateFieldWithConstants(Parser& parser, const DefinitionRecord& record, int fieldIndex) {
    const NamedConstants* constants = constantsOf(record.registerIndex(), fieldIndex);
    if (!constants) return evaluateField(parser, record, fieldIndex);
    ConstantScope scope(parser, constants);
    return evaluateField(parser, record, fieldIndex);
}

}  // namespace Quenta::Script
