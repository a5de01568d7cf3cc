#include "Source/GameComponent/BalloonManager.h"

#include <algorithm>

#include "Source/GameComponent/BalloonObject.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/MainObject.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/Interpreter/ScriptCommand.h"
#include "Source/Interpreter/Value.h"
#include "Source/Script/F/RecordEvaluation.h"
#include "Source/Script/F/RecordViews.h"

namespace Quenta::GameComponent {

namespace {

std::u16string_view balloonName(std::u16string_view name) {
    return name.empty() ? BalloonManager::kDefaultBalloon : name;
}

Interpreter::Token textLiteral(std::u16string_view text) {
    return Interpreter::literalToken(Interpreter::StrValue(std::u16string(text)));
}
Interpreter::Token numberLiteral(double number) { return Interpreter::literalToken(Interpreter::NumValue(number)); }

}  // namespace

std::mutex& BalloonManager::requestLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

BalloonManager::BalloonManager(CharacterObject& character) : character_(character) {
    // The main object stands behind everything, its balloons in front of every character.
    zOrder_ = (dynamic_cast<MainObject*>(&character) ? MainObject::kBalloonBoost : character.zOrder()) + kZOffset;
    getOrCreate(kDefaultBalloon);
    Interpreter::Parser& parser = character.parser();
    const Script::DefinitionData& definition = character.definition();
    for (int index : definition.indexList(Script::RegisterKind::BalloonOrder)) {
        const Script::DefinitionRecord& record = definition.record(index);
        const std::u16string name =
            Script::evaluateText(parser, record.field(Script::BalloonOrderField::BalloonName));
        if (!name.empty() && !find(name)) getOrCreate(name);
    }
}

BalloonManager::~BalloonManager() {
    deleting_ = true;
    // Those in the scene tree are deleted here (they leave their parent's list); the
    // others with their holder.
    for (BalloonObject* balloon : std::vector<BalloonObject*>(stacking_)) {
        const bool held = std::any_of(unattached_.begin(), unattached_.end(),
                                      [&](const auto& p) { return p.get() == balloon; });
        if (!held) delete balloon;
    }
    unattached_.clear();
}

BalloonObject* BalloonManager::find(std::u16string_view name) const {
    auto it = balloons_.find(balloonName(name));
    return it == balloons_.end() ? nullptr : it->second;
}

BalloonObject& BalloonManager::getOrCreate(std::u16string_view name) {
    if (BalloonObject* existing = find(name)) return *existing;
    auto made = std::make_unique<BalloonObject>(*this, character_, std::u16string(balloonName(name)));
    BalloonObject& balloon = *made;
    applySettings(balloon);
    balloons_.emplace(balloon.name(), &balloon);
    stacking_.push_back(&balloon);
    if (GameObject* parent = character_.parent()) {
        parent->adopt(std::move(made));
    } else {
        unattached_.push_back(std::move(made));
    }
    if (active_) balloon.setActive(true);
    return balloon;
}

void BalloonManager::applySettings(BalloonObject& balloon) {
    balloon.GameObject::setZOrder(zOrder_);
    balloon.setScale(character_.scale());
    balloon.setAlpha(character_.alpha());
    balloon.setNoActivate(noActivate_);
    if (topmost_) balloon.setTopmost();
}

void BalloonManager::attachNew() {
    GameObject* parent = character_.parent();
    if (!parent || unattached_.empty()) return;
    for (auto& balloon : unattached_) parent->adopt(std::move(balloon));
    unattached_.clear();
}

void BalloonManager::forEach(const std::function<void(BalloonObject&)>& fn) const {
    // A copy: what fn does may create balloons.
    std::vector<BalloonObject*> all;
    for (const auto& [name, balloon] : balloons_) all.push_back(balloon);
    for (BalloonObject* balloon : all) fn(*balloon);
}

void BalloonManager::forget(BalloonObject& balloon) {
    if (deleting_) return;
    balloons_.erase(balloon.name());
    std::erase(stacking_, &balloon);
}

std::size_t BalloonManager::pendingCalls() const {
    std::lock_guard guard(requestLock());
    return calls_.size();
}

std::vector<BalloonObject*> BalloonManager::addressed(std::u16string_view name, bool allowAll) const {
    std::vector<BalloonObject*> result;
    if (allowAll && name == kAll) {
        for (const auto& [key, balloon] : balloons_) result.push_back(balloon);
    } else if (BalloonObject* balloon = find(name)) {
        result.push_back(balloon);
    }
    return result;
}

// --- CharacterBalloons ------------------------------------------------------------------------

void BalloonManager::callRequest(const Interpreter::TokenLine* callBalloonList) {
    if (!callBalloonList || callBalloonList->empty()) return;
    const std::u16string order = Script::evaluateWeightedPick(character_.parser(), *callBalloonList);
    if (!order.empty()) callBalloon(order);
}

void BalloonManager::processRequests() {
    attachNew();
    std::vector<std::u16string> calls;
    {
        std::lock_guard guard(requestLock());
        calls.swap(calls_);
    }
    // The order code a call runs may queue further calls: they wait for the next frame,
    // and no lock is held while it runs.
    Interpreter::Parser& parser = character_.parser();
    for (const std::u16string& orderName : calls) {
        const bool ok = character_.runGuarded([&] {
            const Script::DefinitionRecord& record = character_.definition().findRecord(orderName);
            const std::u16string name = Script::evaluateText(parser, record.field(Script::BalloonOrderField::BalloonName));
            int callType = 0;
            {
                Interpreter::ScopeNode local(u"local");
                Interpreter::ScopePush push(parser, local);
                callType = Script::evaluateFieldWithConstants(parser, record, Script::BalloonOrderField::CallType)->toInt();
            }
            if (BalloonObject* balloon = find(name)) balloon->receiveCall(orderName, callType);
        });
        if (!ok) break;
    }
}

void BalloonManager::setZOrder(double characterZOrder) {
    zOrder_ = characterZOrder + kZOffset;
    for (BalloonObject* balloon : stacking_) balloon->setZOrder(zOrder_);
}

void BalloonManager::setScale(double scale) {
    for (BalloonObject* balloon : stacking_) balloon->setScale(scale);
}

void BalloonManager::setAlpha(double alpha) {
    for (BalloonObject* balloon : stacking_) balloon->setAlpha(alpha);
}

void BalloonManager::setNoActivate(bool on) {
    noActivate_ = on;
    for (BalloonObject* balloon : stacking_) balloon->setNoActivate(on);
}

void BalloonManager::setTopmost(bool on) {
    topmost_ = on;
    for (BalloonObject* balloon : stacking_) {
        if (on) {
            balloon->setTopmost();
        } else {
            balloon->clearTopmost();
        }
    }
}

void BalloonManager::requestRestack() {
    for (BalloonObject* balloon : stacking_) balloon->requestRestack();
}

void BalloonManager::show() {
    attachNew();
    active_ = true;
    for (BalloonObject* balloon : stacking_) balloon->setActive(true);
}

void BalloonManager::hide() {
    active_ = false;
    for (BalloonObject* balloon : stacking_) balloon->setActive(false);
}

void BalloonManager::setMuted(bool muted) {
    muted_ = muted;
    for (BalloonObject* balloon : stacking_) balloon->order().setSoundsMuted(muted);
}

void BalloonManager::dockTo(GameObject& newParent) {
    attachNew();
    for (BalloonObject* balloon : stacking_) {
        if (balloon->parent() != &newParent) RestackQueue::instance().push(newParent, *balloon);
    }
}

// --- BalloonControl ---------------------------------------------------------------------------

void BalloonManager::createBalloon(std::u16string_view name) {
    if (!find(name)) getOrCreate(name);
    attachNew();
}

void BalloonManager::callBalloon(std::u16string_view orderName) {
    std::lock_guard guard(requestLock());
    calls_.emplace_back(orderName);
}

void BalloonManager::openBalloon(std::u16string_view name, int sizeStep, int opacityStep) {
    for (BalloonObject* balloon : addressed(name, true)) {
        balloon->queueTransition(BalloonTransition::opening(sizeStep, opacityStep));
    }
}

void BalloonManager::closeBalloon(std::u16string_view name, int sizeStep, int opacityStep,
                                  Interpreter::TokenLine commands) {
    for (BalloonObject* balloon : addressed(name, true)) {
        balloon->queueTransition(BalloonTransition::closing(sizeStep, opacityStep, commands));
    }
}

void BalloonManager::terminateBalloon(std::u16string_view name) {
    for (BalloonObject* balloon : addressed(name, true)) balloon->terminate();
}

void BalloonManager::moveBalloon(std::u16string_view name, double x, double y) {
    for (BalloonObject* balloon : addressed(name, true)) balloon->moveOrder(x, y);
}

int BalloonManager::balloonFrameNumber(std::u16string_view name) {
    BalloonObject* balloon = find(name);
    return balloon ? balloon->frameNumber() : 0;
}

void BalloonManager::setBalloonFrameNumber(std::u16string_view name, int frame) {
    if (BalloonObject* balloon = find(name)) balloon->setFrameNumber(frame);
}

void BalloonManager::postSetBalloonFrameNumber(std::u16string_view name, int frame) {
    character_.postCommand(Interpreter::makeCommandLine(u"SetBalloonFrameNum", {textLiteral(name), numberLiteral(frame)}));
}

int BalloonManager::textLineNumber(std::u16string_view balloon, std::u16string_view layer) {
    BalloonObject* b = find(balloon);
    TextLayerObject* text = b ? b->order().textLayer(layer) : nullptr;
    return text ? text->lineNumber() : 0;
}

void BalloonManager::setTextLineNumber(std::u16string_view balloon, std::u16string_view layer, int line) {
    BalloonObject* b = find(balloon);
    if (TextLayerObject* text = b ? b->order().textLayer(layer) : nullptr) text->setLineNumber(line);
}

void BalloonManager::postSetTextLineNumber(std::u16string_view balloon, std::u16string_view layer, int line) {
    character_.postCommand(Interpreter::makeCommandLine(
        u"SetTextLineNum", {textLiteral(balloon), textLiteral(layer), numberLiteral(line)}));
}

void BalloonManager::balloonToTop(std::u16string_view name) {
    std::vector<BalloonObject*> moved;
    if (name == kAll) {
        moved = stacking_;
    } else if (BalloonObject* balloon = find(name)) {
        moved.push_back(balloon);
    }
    for (BalloonObject* balloon : moved) {
        std::erase(stacking_, balloon);
        stacking_.push_back(balloon);
        balloon->requestRestack();
    }
}

}  // namespace Quenta::GameComponent
