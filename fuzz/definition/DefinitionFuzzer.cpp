// Arbitrary bytes as a character's ".func" files: each 0x01 byte starts another file
// (up to four). A load either succeeds or throws ScriptException; on success every
// record is read through its typed view. Field evaluation calls no built-in function
// (an empty table), so no input can reach the system.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Script/F/DefinitionLoader.h"
#include "Source/Script/F/RecordViews.h"
#include "Source/Script/F/ReferenceCheck.h"

namespace {

using namespace Quenta::Script;
using Quenta::Interpreter::ScriptException;

void readViews(const DefinitionData& data, const Quenta::Interpreter::BuiltInTable& builtIns) {
    Quenta::Interpreter::Parser parser;
    parser.setBuiltIns(builtIns);
    parser.setFunctionObjects(&data.functionObjects());
    Quenta::Interpreter::ScopeNode scope(u"fuzz");
    Quenta::Interpreter::ScopePush push(parser, scope);
    for (const auto& record : data.records()) {
        try {
            switch (record->kind()) {
                case RegisterKind::Initial: readInitialRecord(parser, *record, 1); break;
                case RegisterKind::Final: break;
                case RegisterKind::Order: {
                    const auto order = readOrderRecord(parser, *record);
                    if (order.callBalloonList) evaluateWeightedPick(parser, *order.callBalloonList, 0.5);
                    break;
                }
                case RegisterKind::Motion:
                case RegisterKind::BalloonMotion:
                    readMotionRecord(parser, *record);
                    readFrames(parser, *record);
                    break;
                case RegisterKind::ImageLayer:
                case RegisterKind::BalloonImageLayer:
                    readImageLayerRecord(parser, *record);
                    readFrames(parser, *record);
                    break;
                case RegisterKind::HitArea: readHitAreaRecord(parser, *record); break;
                case RegisterKind::HitEvent:
                    readHitEventRecord(parser, *record);
                    evaluateCondition(parser, *record);
                    break;
                case RegisterKind::ConditionEvent:
                    readConditionEventRecord(parser, *record);
                    evaluateCondition(parser, *record);
                    break;
                case RegisterKind::BalloonOrder: readBalloonOrderRecord(parser, *record); break;
                case RegisterKind::TextLayer: readTextLayerRecord(*record); break;
                case RegisterKind::TextStyle: readTextStyleRecord(*record); break;
            }
        } catch (const ScriptException&) {
        }
    }
    if (parser.scope() != &scope) __builtin_trap();  // a view left a scope pushed
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Quenta::Interpreter::BuiltInTable noBuiltIns;
    MemoryDefinitionSource source;
    std::vector<std::uint8_t> current;
    int files = 0;
    auto flush = [&] {
        source.add(u"f" + std::u16string(1, static_cast<char16_t>(u'0' + files)) + u".func", current);
        current.clear();
        ++files;
    };
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0x01 && files < 3) {
            flush();
        } else {
            current.push_back(data[i]);
        }
    }
    flush();

    DefinitionLoader loader(source);
    loader.setBuiltIns(noBuiltIns);
    try {
        const auto definition = loader.load();
        try {
            definition->initialRecord();
        } catch (const ScriptException&) {
        }
        try {
            checkRecordReferences(*definition);
        } catch (const ScriptException&) {
        }
        readViews(*definition, noBuiltIns);
    } catch (const ScriptException&) {
    }
    return 0;
}
