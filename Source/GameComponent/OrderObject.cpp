#include "Source/GameComponent/OrderObject.h"

#include "Source/GameComponent/CharacterBalloons.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CodeLoopObject.h"
#include "Source/GameComponent/ConditionEventObject.h"
#include "Source/GameComponent/HitAreaObject.h"
#include "Source/GameComponent/HitEventObject.h"
#include "Source/GameComponent/ImageLayerObject.h"
#include "Source/GameComponent/MotionObject.h"
#include "Source/GameComponent/SoundChannel.h"
#include "framework/Graphics/Painter.h"
#include "framework/Graphics/PaintDevice.h"

namespace Quenta::GameComponent {

OrderObject::OrderObject(CharacterObject& character)
    : ScriptObject(character, u"order"),
      motion_(std::make_unique<MotionObject>(character)),
      bgm_(std::make_unique<SoundChannel>()) {}

OrderObject::~OrderObject() = default;

void OrderObject::start(const Script::DefinitionRecord& block) {
    CharacterObject& chara = character();
    Interpreter::Parser& parser = chara.parser();
    // 1. The order's scope, the frame counter at its start.
    Interpreter::ScopePush push(parser, scope());
    setBlock(block);
    frameCounter_.reset(0, kFrameCounterEnd, 1);

    // 2. The motion, whose size is the character's.
    const std::u16string motionName =
        Script::evaluateField(parser, block, Script::OrderField::FuncNameMotion)->toStr();
    motion_->start(blockNamed(motionName, Motion));
    chara.objNode().setNumber(u"Width", motion_->width());
    chara.objNode().setNumber(u"Height", motion_->height());

    // 3. The whole record.
    record_ = Script::readOrderRecord(parser, block);
    publishFuncName(record_.funcName);

    // 4. Image layers, in list order.
    imageLayers_.clear();
    for (const std::u16string& name : record_.funcNameImageLayer) {
        const Script::DefinitionRecord& layerBlock = blockNamed(name, ImageLayer);
        auto layer = std::make_unique<ImageLayerObject>(chara);
        layer->start(layerBlock);
        imageLayers_.push_back(std::move(layer));
    }

    // 5. Balloons.
    if (CharacterBalloons* balloons = chara.balloons()) balloons->callRequest(record_.callBalloonList);

    // 6. The character's position.
    baseX_ = record_.posX;
    baseY_ = record_.posY;

    // 7. Events and areas. The old objects go first: their names leave the map with
    // them, and a new object of the same name enters it afresh.
    hitEvents_.clear();
    hitAreas_.clear();
    conditionEvents_.clear();
    for (const std::u16string& name : record_.listHitEvent) {
        const Script::DefinitionRecord& eventBlock = blockNamed(name, HitEvent);
        auto event = std::make_unique<HitEventObject>(chara);
        event->start(eventBlock);
        hitEvents_.push_back(std::move(event));
    }
    for (const std::u16string& name : record_.listHitArea) {
        const Script::DefinitionRecord& areaBlock = blockNamed(name, HitArea);
        auto area = std::make_unique<HitAreaObject>(chara);
        area->start(areaBlock);
        hitAreas_.push_back(std::move(area));
    }
    for (const std::u16string& name : record_.listConditionEvent) {
        const Script::DefinitionRecord& eventBlock = blockNamed(name, ConditionEvent);
        auto event = std::make_unique<ConditionEventObject>(chara);
        event->start(eventBlock);
        conditionEvents_.push_back(std::move(event));
    }

    // 8. Background sound.
    bgm_->setMuted(chara.areSoundsMuted());
    bgm_->stop();
    bgm_->setLoops(record_.soundLoop);
    bgm_->play(chara.resources(), record_.soundNameBgm);

    // 9. Dropping, and a new picture.
    if (record_.flagDrop) chara.stopDragging();
    chara.invalidateImage();

    // 10. The order's own code.
    runCodeInit(parser, block);
    codeLoop_ = std::make_unique<CodeLoopObject>(parser, block);
}

void OrderObject::update() {
    if (!hasOrder()) return;
    CharacterObject& chara = character();
    Interpreter::ScopePush push(chara.parser(), scope());
    if (frameCounter_.atEnd()) {
        frameCounter_.setValue(0);
        seekAll(0);
    }
    if (codeLoop_) codeLoop_->run();
    motion_->update();
    for (const std::unique_ptr<ImageLayerObject>& layer : imageLayers_) layer->update();
    const Script::FrameParameters& row = motion_->currentRow();
    baseX_ += flipsHorizontally() ? -row.moveX : row.moveX;
    baseY_ += flipsVertically() ? -row.moveY : row.moveY;
    for (const std::unique_ptr<HitEventObject>& event : hitEvents_) event->update();
    for (const std::unique_ptr<ConditionEventObject>& event : conditionEvents_) event->update();
    frameCounter_.stepForward();
}

void OrderObject::animate() {
    if (!hasOrder()) return;
    Interpreter::ScopePush push(character().parser(), scope());
    for (const std::unique_ptr<HitEventObject>& event : hitEvents_)
        if (event->conditionHolds()) event->animate();
    for (const std::unique_ptr<ConditionEventObject>& event : conditionEvents_) event->animate();
}

void OrderObject::draw(Arbor::Graphics::PaintDevice& image) {
    if (!hasOrder()) return;
    // The motion replaces what it covers; the rest of the image (when the motion's
    // image is smaller than its size, or missing) must not keep the last picture.
    Arbor::Graphics::Painter(image).fillRect(Arbor::Graphics::Rect::fromSize(0, 0, image.width(), image.height()),
                                             0);
    motion_->draw(image);
    for (const std::unique_ptr<ImageLayerObject>& layer : imageLayers_) layer->draw(image);
    if (!character().debugMode()) return;
    Interpreter::ScopePush push(character().parser(), scope());
    for (const std::unique_ptr<HitEventObject>& event : hitEvents_)
        if (event->conditionHolds()) event->draw(image);
    for (const std::unique_ptr<HitAreaObject>& area : hitAreas_) area->draw(image);
}

AreaRect OrderObject::characterRect(double scale) const {
    return AreaRect{(baseX_ - record_.basePosX) * scale, (baseY_ - record_.basePosY) * scale, width() * scale,
                    height() * scale};
}

int OrderObject::width() const { return motion_->width(); }
int OrderObject::height() const { return motion_->height(); }

void OrderObject::setFrameNumber(std::int32_t n) {
    frameCounter_.setValue(n);
    seekAll(n);
}

void OrderObject::seekAll(std::int32_t n) {
    motion_->seek(n);
    for (const std::unique_ptr<ImageLayerObject>& layer : imageLayers_) layer->seek(n);
}

bool OrderObject::offerButton(int hitType, double x, double y, bool needsArea) {
    if (!hasOrder()) return false;
    const double scale = character().scale();
    if (needsArea && scale <= 0) return false;
    Interpreter::ScopePush push(character().parser(), scope());
    for (const std::unique_ptr<HitEventObject>& event : hitEvents_) {
        if (event->hitType() != hitType || !event->conditionHolds()) continue;
        if (needsArea && !event->containsPoint(x / scale, y / scale)) continue;
        event->fire(nullptr, AreaRect{x, y, 0.0, 0.0});
        return true;
    }
    return false;
}

bool OrderObject::offerLeftButtonDown(double x, double y) { return offerButton(HitEventObject::LButtonDown, x, y, true); }
bool OrderObject::offerRightButtonDown(double x, double y) { return offerButton(HitEventObject::RButtonDown, x, y, true); }
bool OrderObject::offerLeftButtonUp(double x, double y) { return offerButton(HitEventObject::LButtonUp, x, y, false); }
bool OrderObject::offerRightButtonUp(double x, double y) { return offerButton(HitEventObject::RButtonUp, x, y, false); }

std::u16string OrderObject::offerCursor(double x, double y) {
    if (!hasOrder()) return {};
    const double scale = character().scale();
    std::u16string chosen;
    bool applied = false;
    if (scale > 0) {
        Interpreter::ScopePush push(character().parser(), scope());
        const double px = x / scale;
        const double py = y / scale;
        for (const std::unique_ptr<HitEventObject>& event : hitEvents_) {
            const int type = event->hitType();
            if (type != HitEventObject::StrokeCursor && type != HitEventObject::LButtonDown &&
                type != HitEventObject::RButtonDown)
                continue;
            if (!event->conditionHolds() || !event->containsPoint(px, py)) continue;
            if (type == HitEventObject::StrokeCursor) event->strokeAt(px, py);
            if (!applied) {
                applied = true;
                chosen = event->record().enteredCursorName;
            }
        }
    }
    // An event without a cursor of its own leaves the choice to the order.
    return applied && !chosen.empty() ? chosen : record_.cursorName;
}

const HitAreaObject* OrderObject::hitArea(std::u16string_view name) const {
    for (const std::unique_ptr<HitAreaObject>& area : hitAreas_)
        if (area->funcName() == name) return area.get();
    return nullptr;
}

void OrderObject::setSoundsMuted(bool muted) {
    bgm_->setMuted(muted);
    motion_->setSoundsMuted(muted);
    for (const std::unique_ptr<ImageLayerObject>& layer : imageLayers_) layer->setSoundsMuted(muted);
}

}  // namespace Quenta::GameComponent
