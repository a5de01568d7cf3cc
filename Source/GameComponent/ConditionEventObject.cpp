#include "Source/GameComponent/ConditionEventObject.h"

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CodeLoopObject.h"
#include "Source/GameComponent/EventRequest.h"

namespace Quenta::GameComponent {

std::int32_t ConditionEventObject::intervalOf(int intervalType) {
    switch (intervalType) {
    case EveryFrame:
        return 1;
    case EverySecond:
        return 30;
    case EveryMinute:
        return 1800;
    case EveryHour:
        return 108000;
    default:
        return 0;
    }
}

ConditionEventObject::ConditionEventObject(CharacterObject& character) : ScriptObject(character, u"condition") {}

ConditionEventObject::~ConditionEventObject() = default;

void ConditionEventObject::start(const Script::DefinitionRecord& block) {
    Interpreter::Parser& parser = character().parser();
    {
        Interpreter::ScopePush push(parser, scope());
        setBlock(block);
        record_ = Script::readConditionEventRecord(parser, block);
        publishFuncName(record_.funcName);
        runCodeInit(parser, block);
        codeLoop_ = std::make_unique<CodeLoopObject>(parser, block);
    }
    interval_.reset(0, intervalOf(record_.intervalType), 1);
    startedThisFrame_ = true;
    if (conditionHolds()) fire();
}

void ConditionEventObject::update() {
    if (!codeLoop_) return;
    Interpreter::ScopePush push(character().parser(), scope());
    codeLoop_->run();
}

void ConditionEventObject::animate() {
    if (!block()) return;
    if (startedThisFrame_) {
        startedThisFrame_ = false;
        return;
    }
    // ONLY_ONCE has no interval: it fired (or not) when it started.
    if (interval_.end() <= 0) return;
    interval_.stepForward();
    if (!interval_.atEnd()) return;
    interval_.setValue(0);
    if (conditionHolds()) fire();
}

bool ConditionEventObject::conditionHolds() {
    if (!block()) return false;
    if (!record_.condition || record_.condition->empty()) return true;
    Interpreter::ScopePush push(character().parser(), scope());
    return Script::evaluateBool(character().parser(), *record_.condition);
}

void ConditionEventObject::fire() {
    OrderRequest request;
    {
        Interpreter::ScopePush push(character().parser(), scope());
        request.orderName = pickOrderName(character().parser(), record_.funcListEvent);
    }
    request.priority = kPriority;
    request.soundName = record_.soundName;
    request.code = eventCode(record_.onEvent);
    character().requestOrder(std::move(request));
}

}  // namespace Quenta::GameComponent
