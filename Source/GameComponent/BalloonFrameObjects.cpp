#include "Source/GameComponent/BalloonFrameObjects.h"

#include <cmath>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/Script/F/RecordViews.h"
#include "framework/Graphics/Image32.h"
#include "framework/Graphics/Painter.h"

namespace Quenta::GameComponent {

BalloonMotionObject::BalloonMotionObject(CharacterObject& character) : FrameAnimatedObject(character, u"motion") {}

void BalloonMotionObject::start(const Script::DefinitionRecord& block) {
    Interpreter::Parser& parser = character().parser();
    Interpreter::ScopePush push(parser, scope());
    setBlock(block);
    const Script::MotionRecordView record = Script::readMotionRecord(parser, block);
    scope().setString(u"FuncName", record.funcName);
    startFrames(record.imageName, record.width, record.height, record.flip);
    finishStart();
}

bool BalloonMotionObject::advance() {
    if (!block()) return false;
    Interpreter::ScopePush push(character().parser(), scope());
    return advanceFrames();
}

void BalloonMotionObject::draw(Arbor::Graphics::PaintDevice& surface) {
    const Arbor::Graphics::Image32* source = image();
    if (!source || source->isNull()) return;
    Arbor::Graphics::Painter painter(surface);
    Arbor::Graphics::DrawParams params;
    params.flip = static_cast<std::uint32_t>(flip());
    params.blendMode = Arbor::Graphics::BlendMode::Copy;
    painter.drawImageAt(*source, {0, 0}, sourceRect(), params);
}

BalloonImageLayerObject::BalloonImageLayerObject(CharacterObject& character)
    : FrameAnimatedObject(character, u"imgLayer") {}

void BalloonImageLayerObject::start(const Script::DefinitionRecord& block) {
    Interpreter::Parser& parser = character().parser();
    Interpreter::ScopePush push(parser, scope());
    setBlock(block);
    const Script::ImageLayerRecordView record = Script::readImageLayerRecord(parser, block);
    scope().setString(u"FuncName", record.funcName);
    x_ = record.posX;
    y_ = record.posY;
    startFrames(record.imageName, record.width, record.height, record.flip);
    finishStart();
}

bool BalloonImageLayerObject::advance() {
    if (!block()) return false;
    Interpreter::ScopePush push(character().parser(), scope());
    bool changed = advanceFrames();
    const Script::FrameParameters& row = currentRow();
    if (row.moveX != 0.0 || row.moveY != 0.0) {
        x_ += row.moveX;
        y_ += row.moveY;
        changed = true;
    }
    return changed;
}

void BalloonImageLayerObject::draw(Arbor::Graphics::PaintDevice& surface) {
    const Arbor::Graphics::Image32* source = image();
    if (!source || source->isNull()) return;
    Arbor::Graphics::Painter painter(surface);
    Arbor::Graphics::DrawParams params;
    params.flip = static_cast<std::uint32_t>(flip());
    painter.drawImageAt(*source, {layerPixel(x_), layerPixel(y_)}, sourceRect(), params);
}

}  // namespace Quenta::GameComponent
