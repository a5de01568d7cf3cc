#include "Source/GameComponent/ImageLayerObject.h"

#include <cmath>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/Script/F/RecordViews.h"
#include "framework/Graphics/Image32.h"
#include "framework/Graphics/Painter.h"

namespace Quenta::GameComponent {

ImageLayerObject::ImageLayerObject(CharacterObject& character) : FrameAnimatedObject(character, u"imgLayer") {}

void ImageLayerObject::start(const Script::DefinitionRecord& block) {
    Interpreter::Parser& parser = character().parser();
    Interpreter::ScopePush push(parser, scope());
    setBlock(block);
    const Script::ImageLayerRecordView record = Script::readImageLayerRecord(parser, block);
    publishFuncName(record.funcName);
    x_ = record.posX;
    y_ = record.posY;
    centreX_ = centreY_ = angle_ = 0.0;
    startFrames(record.imageName, record.width, record.height, record.flip);
    finishStart();
}

void ImageLayerObject::update() {
    if (!block()) return;
    Interpreter::ScopePush push(character().parser(), scope());
    bool changed = advanceFrames();
    const Script::FrameParameters& row = currentRow();
    if (row.moveX != 0.0 || row.moveY != 0.0) {
        x_ += row.moveX;
        y_ += row.moveY;
        changed = true;
    }
    if (changed) character().invalidateImage();
}

void ImageLayerObject::rotate(double centreX, double centreY, double degrees) {
    centreX_ = centreX;
    centreY_ = centreY;
    angle_ = degrees;
    character().invalidateImage();
}

void ImageLayerObject::draw(Arbor::Graphics::PaintDevice& target) {
    const Arbor::Graphics::Image32* source = image();
    if (!source || source->isNull()) return;
    Arbor::Graphics::Painter painter(target);
    Arbor::Graphics::DrawParams params;
    params.flip = static_cast<std::uint32_t>(flip());
    const Arbor::Graphics::Rect& rect = sourceRect();
    if (angle_ == 0.0) {
        painter.drawImageAt(*source, {layerPixel(x_), layerPixel(y_)}, rect, params);
        return;
    }
    // The centre is given relative to the layer: in the target it sits at the layer's
    // position plus the centre, in the source at the frame's corner plus the centre.
    const Arbor::Graphics::Point destCentre{layerPixel(x_ + centreX_), layerPixel(y_ + centreY_)};
    const Arbor::Graphics::Point rotationCentre{layerPixel(rect.left + centreX_), layerPixel(rect.top + centreY_)};
    painter.drawRotated(*source, rect, destCentre, rotationCentre, angle_, 1.0, params);
}


}  // namespace Quenta::GameComponent
