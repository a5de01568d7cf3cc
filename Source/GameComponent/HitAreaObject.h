#pragma once
// A named rectangle on the character (HIT_AREA_REG), in the character's own unscaled
// coordinates; an OUT_RECT area stands for everything outside its rectangle. Listed
// by an order ("ListHitArea") for other characters to touch, or owned by a hit event
// ("MyHitArea") as the place where that event is tested.
#include "Source/GameComponent/OrderObject.h"
#include "Source/GameComponent/ScriptObject.h"
#include "Source/Script/F/RecordViews.h"

namespace Arbor::Graphics {
class PaintDevice;
}

namespace Quenta::GameComponent {

class HitAreaObject : public ScriptObject {
public:
    static constexpr int kRect = 0;
    static constexpr int kOutRect = 1;

    explicit HitAreaObject(CharacterObject& character);

    int registerKind() const override { return HitArea; }

    // Throws ScriptException.
    void start(const Script::DefinitionRecord& block);

    const Script::HitAreaRecordView& record() const { return record_; }
    bool isOutRect() const { return record_.areaType == kOutRect; }
    // The rectangle in character coordinates, mirrored within the motion when the
    // area follows the order's flips ("FlagAutoFlip").
    AreaRect rect() const;
    // Whether the point (character coordinates, unscaled) is in the area: inside the
    // rectangle for RECT (a negative size extends it the other way; a zero size holds
    // no point), outside it for OUT_RECT.
    bool contains(double x, double y) const;
    // The outline for debug mode.
    void draw(Arbor::Graphics::PaintDevice& image) const;

private:
    Script::HitAreaRecordView record_;
};

// Two rectangles (normalised for negative sizes) share a point; a rectangle with zero
// width and zero height never overlaps.
bool rectsOverlap(const AreaRect& a, const AreaRect& b);

}  // namespace Quenta::GameComponent
