#pragma once
// An event that fires at a fixed interval while its Condition holds
// (CONDITION_EVENT_REG): when its order starts, then every interval of frames
// (EVERY_FRAME, EVERY_SECOND, EVERY_MINUTE, EVERY_HOUR), or only at the start
// (ONLY_ONCE). Firing queues an order request with priority 3.
#include <cstdint>
#include <memory>

#include "Source/GameComponent/ScriptObject.h"
#include "Source/Script/F/RecordViews.h"
#include "framework/Counter/RootCounter.h"

namespace Quenta::GameComponent {

class CodeLoopObject;

class ConditionEventObject : public ScriptObject {
public:
    static constexpr int kPriority = 3;
    enum IntervalType : int { EveryFrame = 0, EverySecond = 1, EveryMinute = 2, EveryHour = 3, OnlyOnce = 4 };
    // Frames between firings; 0 for ONLY_ONCE (and for an unknown type).
    static std::int32_t intervalOf(int intervalType);

    explicit ConditionEventObject(CharacterObject& character);
    ~ConditionEventObject() override;

    int registerKind() const override { return ConditionEvent; }

    // Parses, runs CodeInit, sets up the CodeLoop and the interval, and fires once if
    // the Condition holds. Throws ScriptException.
    void start(const Script::DefinitionRecord& block);
    void update() override;
    // Counts one frame; fires at the end of each interval when the Condition holds.
    void animate();

    bool conditionHolds();
    const Script::ConditionEventRecordView& record() const { return record_; }

private:
    void fire();

    Script::ConditionEventRecordView record_;
    std::unique_ptr<CodeLoopObject> codeLoop_;
    Arbor::Counter::RootCounter interval_;
    // The start itself counts as the first firing time: the frame of the start is not
    // counted again by the animation phase that follows it in the same frame.
    bool startedThisFrame_ = false;
};

}  // namespace Quenta::GameComponent
