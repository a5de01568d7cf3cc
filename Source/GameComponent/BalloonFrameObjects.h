#pragma once
// A balloon order's background frames (BALLOON_MOTION_REG) and image layers
// (BALLOON_IMAGE_LAYER_REG): played by the same frame rules as a character's motion
// and image layers, drawn into the balloon's surface. They are not entered among the
// character's named objects: they live as long as the balloon's order, not the
// character's.
#include "Source/GameComponent/FrameAnimatedObject.h"

namespace Arbor::Graphics {
class PaintDevice;
}

namespace Quenta::GameComponent {

class BalloonMotionObject : public FrameAnimatedObject {
public:
    explicit BalloonMotionObject(CharacterObject& character);
    int registerKind() const override { return 9; }
    // Throws ScriptException.
    void start(const Script::DefinitionRecord& block);
    // The frame step; true when the picture changed.
    bool advance();
    // Replaces the surface's pixels in the motion's rectangle.
    void draw(Arbor::Graphics::PaintDevice& surface);
};

class BalloonImageLayerObject : public FrameAnimatedObject {
public:
    explicit BalloonImageLayerObject(CharacterObject& character);
    int registerKind() const override { return 10; }
    void start(const Script::DefinitionRecord& block);
    bool advance();
    void draw(Arbor::Graphics::PaintDevice& surface);

private:
    double x_ = 0.0;
    double y_ = 0.0;
};

}  // namespace Quenta::GameComponent
