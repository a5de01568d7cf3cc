#include "Source/GameComponent/BalloonOrderObject.h"

#include <algorithm>

#include "Source/GameComponent/BalloonFrameObjects.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CodeLoopObject.h"
#include "Source/GameComponent/SoundChannel.h"
#include "framework/Graphics/PaintDevice.h"

namespace Quenta::GameComponent {

BalloonOrderObject::BalloonOrderObject(CharacterObject& character, TextLayerHost& balloon)
    : ScriptObject(character, u"order"), balloon_(balloon), bgm_(std::make_unique<SoundChannel>()) {}

BalloonOrderObject::~BalloonOrderObject() = default;

void BalloonOrderObject::start(const Script::DefinitionRecord& block) {
    Interpreter::Parser& parser = character().parser();
    Interpreter::ScopePush push(parser, scope());
    // What the previous order made goes first: its text layers point into its records.
    textLayers_.clear();
    layers_.clear();
    motion_.reset();
    bgm_->stop();
    setBlock(block);
    record_ = Script::readBalloonOrderRecord(parser, block);
    x_ = Script::evaluateNumber(parser, *record_.posX);
    y_ = Script::evaluateNumber(parser, *record_.posY);
    basePosX_ = Script::evaluateNumber(parser, *record_.basePosX);
    basePosY_ = record_.basePosY;
    popupPosX_ = Script::evaluateNumber(parser, *record_.popupPosX);
    popupPosY_ = Script::evaluateNumber(parser, *record_.popupPosY);
    flip_ = Script::evaluateFlip(parser, *record_.flip);
    const int soundLoop = Script::evaluateInt(parser, *record_.soundLoop);
    next_ = Script::evaluateNameList(parser, *record_.nextBalloonList);
    seekPending_ = -1;
    nextIndex_ = 0;

    motion_ = std::make_unique<BalloonMotionObject>(character());
    if (!record_.funcNameMotion.empty()) {
        motion_->start(blockNamed(record_.funcNameMotion, static_cast<int>(Script::RegisterKind::BalloonMotion)));
    }
    scope().setString(u"FuncName", record_.funcName);
    scope().setNumber(u"Width", width());
    scope().setNumber(u"Height", height());
    runCodeInit(parser, block);
    for (const std::u16string& name : record_.funcNameImageLayer) {
        auto layer = std::make_unique<BalloonImageLayerObject>(character());
        layer->start(blockNamed(name, static_cast<int>(Script::RegisterKind::BalloonImageLayer)));
        layers_.push_back(std::move(layer));
    }
    for (const std::u16string& name : record_.funcNameTextLayer) {
        const Script::DefinitionRecord& layerBlock = blockNamed(name, static_cast<int>(Script::RegisterKind::TextLayer));
        textLayers_.push_back(
            std::make_unique<TextLayerObject>(parser, character().definition(), layerBlock, balloon_));
    }
    bgm_->setMuted(character().areSoundsMuted());
    bgm_->setLoops(soundLoop);
    bgm_->play(character().resources(), record_.soundNameBgm);
}

bool BalloonOrderObject::step() {
    if (!hasOrder()) return false;
    Interpreter::ScopePush push(character().parser(), scope());
    bool changed = false;
    if (motion_->advance()) changed = true;
    seekPending_ = -1;
    const Script::FrameParameters& row = motion_->currentRow();
    x_ += row.moveX;
    y_ += row.moveY;
    for (auto& layer : layers_) {
        if (layer->advance()) changed = true;
    }
    for (auto& text : textLayers_) text->step();
    return changed;
}

void BalloonOrderObject::draw(Arbor::Graphics::PaintDevice& surface) {
    if (surface.isNull()) return;
    std::fill_n(surface.bits(), static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height()),
                Arbor::Graphics::Pixel{});
    if (!hasOrder()) return;
    motion_->draw(surface);
    for (auto& layer : layers_) layer->draw(surface);
    Arbor::Graphics::Painter painter(surface);
    for (auto& text : textLayers_) text->draw(painter);
}

int BalloonOrderObject::width() const { return motion_ ? motion_->width() : 0; }
int BalloonOrderObject::height() const { return motion_ ? motion_->height() : 0; }

int BalloonOrderObject::frameNumber() const {
    if (seekPending_ >= 0) return seekPending_;
    return motion_ ? motion_->frameCounter().value() : 0;
}

void BalloonOrderObject::setFrameNumber(int n) {
    seekPending_ = n < 0 ? 0 : n;
    if (motion_) motion_->seek(n);
    for (auto& layer : layers_) layer->seek(n);
}

TextLayerObject* BalloonOrderObject::textLayer(std::u16string_view name) const {
    for (const auto& text : textLayers_) {
        if (text->funcName() == name) return text.get();
    }
    return nullptr;
}

bool BalloonOrderObject::textFinished() const {
    return std::all_of(textLayers_.begin(), textLayers_.end(), [](const auto& t) { return t->isFinished(); });
}

void BalloonOrderObject::finishText() {
    for (auto& text : textLayers_) text->finish();
}

std::u16string BalloonOrderObject::takeNextOrder() {
    if (nextIndex_ >= next_.size()) return {};
    return next_[nextIndex_++];
}

void BalloonOrderObject::setSoundsMuted(bool muted) {
    bgm_->setMuted(muted);
    if (motion_) motion_->setSoundsMuted(muted);
    for (auto& layer : layers_) layer->setSoundsMuted(muted);
}

}  // namespace Quenta::GameComponent
