#pragma once
// A kind of contact tested against the event's own hit areas (HIT_EVENT_REG): the
// mouse on the character, another character's area, the edges of the parent, a
// stroke of the cursor. Firing queues an order request on the character with the
// kind's priority; the character's next update phase decides among the requests.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Source/GameComponent/OrderObject.h"
#include "Source/GameComponent/ScriptObject.h"
#include "Source/Script/F/RecordViews.h"
#include "framework/Counter/RootCounter.h"

namespace Arbor::Graphics {
class PaintDevice;
}

namespace Quenta::GameComponent {

class CodeLoopObject;
class GameObject;
class HitAreaObject;

class HitEventObject : public ScriptObject {
public:
    enum HitType : int {
        HitChara = 0,
        HitCursor = 1,
        StrokeCursor = 2,
        LButtonDown = 3,
        RButtonDown = 4,
        LButtonUp = 5,
        RButtonUp = 6,
        BoxLeft = 7,
        BoxTop = 8,
        BoxRight = 9,
        BoxBottom = 10,
    };
    // Distinct cursor positions that make a stroke, and the frames it may take.
    static constexpr int kStrokeLength = 100;
    static constexpr int kStrokeFrames = 30;

    // The priority of the request a kind queues (0 for an unknown kind).
    static int priorityOf(int hitType);

    explicit HitEventObject(CharacterObject& character);
    ~HitEventObject() override;

    int registerKind() const override { return HitEvent; }

    // Parses the record, makes the own areas from "MyHitArea" (an unknown name throws
    // name + "は存在しません。"), runs CodeInit and sets up the CodeLoop.
    void start(const Script::DefinitionRecord& block);
    // CodeLoop, and the ageing of a stroke in progress.
    void update() override;
    // The per-frame kinds (HIT_CHARA, HIT_CURSOR, the box edges); the order calls it
    // only while the Condition holds.
    void animate();
    // The own areas' outlines for debug mode.
    void draw(Arbor::Graphics::PaintDevice& image);

    int hitType() const { return record_.hitType; }
    const Script::HitEventRecordView& record() const { return record_; }
    // The Condition, evaluated now; an empty one holds.
    bool conditionHolds();
    // The point (character coordinates, already divided by the scale) in one of the
    // own areas.
    bool containsPoint(double x, double y) const;
    // A cursor position over the character (unscaled character coordinates): counts
    // towards a stroke and fires when the stroke is complete.
    void strokeAt(double x, double y);
    int strokeCount() const { return strokeCounter_.value(); }

    // Queues the request. `rect` in the parent's coordinates (for the mouse kinds: the
    // point with size 0).
    void fire(GameObject* target, const AreaRect& rect);

    const std::vector<std::unique_ptr<HitAreaObject>>& ownAreas() const { return ownAreas_; }

private:
    void testOtherCharacters();
    void testCursor();
    void testBox();
    // An own area in the parent's coordinates (scaled, at the character's position).
    AreaRect placed(const HitAreaObject& area) const;
    void resetStroke();

    Script::HitEventRecordView record_;
    std::vector<std::unique_ptr<HitAreaObject>> ownAreas_;
    std::unique_ptr<CodeLoopObject> codeLoop_;
    std::optional<std::pair<double, double>> lastStrokePoint_;
    Arbor::Counter::RootCounter strokeCounter_{0, kStrokeLength, 1};
    Arbor::Counter::RootCounter strokeTimer_{0, kStrokeFrames, 1};
};

}  // namespace Quenta::GameComponent
