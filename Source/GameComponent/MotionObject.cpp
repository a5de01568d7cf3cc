#include "Source/GameComponent/MotionObject.h"

#include "Source/GameComponent/CharacterObject.h"
#include "Source/Script/F/RecordViews.h"
#include "framework/Graphics/Image32.h"
#include "framework/Graphics/Painter.h"

namespace Quenta::GameComponent {

MotionObject::MotionObject(CharacterObject& character) : FrameAnimatedObject(character, u"motion") {}

void MotionObject::start(const Script::DefinitionRecord& block) {
    Interpreter::Parser& parser = character().parser();
    Interpreter::ScopePush push(parser, scope());
    setBlock(block);
    const Script::MotionRecordView record = Script::readMotionRecord(parser, block);
    publishFuncName(record.funcName);
    startFrames(record.imageName, record.width, record.height, record.flip);
    finishStart();
}

void MotionObject::update() {
    if (!block()) return;
    Interpreter::ScopePush push(character().parser(), scope());
    if (advanceFrames()) character().invalidateImage();
}

void MotionObject::draw(Arbor::Graphics::PaintDevice& target) {
    const Arbor::Graphics::Image32* source = image();
    if (!source || source->isNull()) return;
    Arbor::Graphics::Painter painter(target);
    Arbor::Graphics::DrawParams params;
    params.flip = static_cast<std::uint32_t>(flip());
    params.blendMode = Arbor::Graphics::BlendMode::Copy;
    painter.drawImageAt(*source, {0, 0}, sourceRect(), params);
}

}  // namespace Quenta::GameComponent
