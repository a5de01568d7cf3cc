#pragma once
// A frame animation drawn over the motion (IMAGE_LAYER_REG): played like a motion, it
// also has a position of its own that its rows move, and a rotation that RotateImage
// sets (centre relative to the layer's top-left corner, angle in degrees).
#include "Source/GameComponent/FrameAnimatedObject.h"

namespace Arbor::Graphics {
class PaintDevice;
}

namespace Quenta::GameComponent {

class ImageLayerObject : public FrameAnimatedObject {
public:
    explicit ImageLayerObject(CharacterObject& character);

    int registerKind() const override { return ImageLayer; }

    // Throws ScriptException.
    void start(const Script::DefinitionRecord& block);
    void update() override;
    void draw(Arbor::Graphics::PaintDevice& image);

    double x() const { return x_; }
    double y() const { return y_; }
    // Sets the rotation and invalidates the character's composed image.
    void rotate(double centreX, double centreY, double degrees);
    double rotationAngle() const { return angle_; }

private:
    double x_ = 0.0;
    double y_ = 0.0;
    double centreX_ = 0.0;
    double centreY_ = 0.0;
    double angle_ = 0.0;
};

}  // namespace Quenta::GameComponent
