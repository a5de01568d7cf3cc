#pragma once
// The character's body in its current order: one MOTION_REG block whose frame rows
// pick the part of the image shown, how far the character moves each frame, and the
// frame sounds. It is drawn first and replaces the pixels of the composed image.
#include "Source/GameComponent/FrameAnimatedObject.h"

namespace Arbor::Graphics {
class PaintDevice;
}

namespace Quenta::GameComponent {

class MotionObject : public FrameAnimatedObject {
public:
    explicit MotionObject(CharacterObject& character);

    int registerKind() const override { return Motion; }

    // Makes `block` the current motion and starts it. Throws ScriptException.
    void start(const Script::DefinitionRecord& block);
    void update() override;
    void draw(Arbor::Graphics::PaintDevice& image);
};

}  // namespace Quenta::GameComponent
