#pragma once
// A character's current order: one ORDER_REG block with the motion, image layers, hit
// areas, hit events and condition events it names, a frame counter, the background
// sound and the character's base position. The character starts an order when it
// selects one and calls update (motion phase), animate (animation phase) and draw
// (render phase, when its composed image needs composing) while it is active.
//
// Script errors propagate as Interpreter::ScriptException; the character turns them
// into the fatal error box (an unknown block name reads name + "は存在しません。").
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Source/GameComponent/ScriptObject.h"
#include "Source/Script/F/RecordViews.h"
#include "framework/Counter/RootCounter.h"

namespace Arbor::Graphics {
class PaintDevice;
}

namespace Quenta::GameComponent {

class CodeLoopObject;
class ConditionEventObject;
class HitAreaObject;
class HitEventObject;
class ImageLayerObject;
class MotionObject;
class SoundChannel;

// A rectangle in doubles (character, parent or desktop coordinates as stated).
struct AreaRect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

class OrderObject : public ScriptObject {
public:
    // The frame counter runs from 0 to this end; reaching it restarts the animations.
    static constexpr std::int32_t kFrameCounterEnd = 2147483647;

    explicit OrderObject(CharacterObject& character);
    ~OrderObject() override;

    int registerKind() const override { return Order; }

    // Makes `block` (an ORDER_REG record of the character's definition) the current
    // order and starts it. The character has cleared its named-object map before.
    void start(const Script::DefinitionRecord& block);
    bool hasOrder() const { return block() != nullptr; }
    const Script::OrderRecordView& record() const { return record_; }

    void update() override;
    void animate();
    // Composes the motion and the layers (and, in debug mode, the area outlines) into
    // `image`, the character's composed image.
    void draw(Arbor::Graphics::PaintDevice& image);

    // The character's rectangle in its parent's coordinates: (base - BasePos) x scale,
    // the motion's size x scale.
    AreaRect characterRect(double scale) const;
    // The motion's size (the composed image's size).
    int width() const;
    int height() const;

    // The order's "Flip" bits (1 horizontal, 2 vertical).
    int flip() const { return record_.flip; }
    bool flipsHorizontally() const { return (record_.flip & Script::kFlipHorizontal) != 0; }
    bool flipsVertically() const { return (record_.flip & Script::kFlipVertical) != 0; }

    // The frame counter (GetFrameNum); setting it makes the motion and every layer
    // seek to that frame at their next update (SetFrameNum).
    std::int32_t frameNumber() const { return frameCounter_.value(); }
    void setFrameNumber(std::int32_t n);

    // The base position: the character's script position.
    double baseX() const { return baseX_; }
    double baseY() const { return baseY_; }
    void setBaseX(double x) { baseX_ = x; }
    void setBaseY(double y) { baseY_ = y; }
    void setBasePosition(double x, double y) { baseX_ = x; baseY_ = y; }
    // The record's "BasePosX", "BasePosY".
    double basePosX() const { return record_.basePosX; }
    double basePosY() const { return record_.basePosY; }

    const std::u16string& cursorName() const { return record_.cursorName; }

    // Mouse input of the character, at a point in character coordinates (unscaled by
    // the caller: the events divide by the scale themselves). The first hit event of
    // the matching kind whose Condition holds (and, for button-down, whose own areas
    // contain the point) fires; later ones are not tried. True when one fired.
    bool offerLeftButtonDown(double x, double y);
    bool offerRightButtonDown(double x, double y);
    bool offerLeftButtonUp(double x, double y);
    bool offerRightButtonUp(double x, double y);
    // A cursor-entering event: runs the stroke logic and returns the name of the
    // cursor file to show (the first matching event's EnteredCursorName, else the
    // order's CursorName); empty when the character's normal cursor or the arrow
    // applies.
    std::u16string offerCursor(double x, double y);

    // The order's hit area of that name (from its "ListHitArea"), or null: what other
    // characters' HIT_CHARA events test against.
    const HitAreaObject* hitArea(std::u16string_view name) const;

    MotionObject* motion() const { return motion_.get(); }
    const std::vector<std::unique_ptr<ImageLayerObject>>& imageLayers() const { return imageLayers_; }
    const std::vector<std::unique_ptr<HitEventObject>>& hitEvents() const { return hitEvents_; }
    const std::vector<std::unique_ptr<ConditionEventObject>>& conditionEvents() const { return conditionEvents_; }

    // Silences or restores the background sound and the motion's and layers' frame
    // sounds (part of the character's muteSounds).
    void setSoundsMuted(bool muted);

private:
    bool offerButton(int hitType, double x, double y, bool needsArea);
    void seekAll(std::int32_t n);

    Script::OrderRecordView record_;
    double baseX_ = 0.0;
    double baseY_ = 0.0;
    std::unique_ptr<MotionObject> motion_;
    std::vector<std::unique_ptr<ImageLayerObject>> imageLayers_;
    std::vector<std::unique_ptr<HitEventObject>> hitEvents_;
    std::vector<std::unique_ptr<HitAreaObject>> hitAreas_;
    std::vector<std::unique_ptr<ConditionEventObject>> conditionEvents_;
    Arbor::Counter::RootCounter frameCounter_{0, kFrameCounterEnd, 1};
    std::unique_ptr<CodeLoopObject> codeLoop_;
    std::unique_ptr<SoundChannel> bgm_;
};

}  // namespace Quenta::GameComponent
