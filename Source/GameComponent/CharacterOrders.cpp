// Order requests, order selection and the script-visible state of a character.
#include <algorithm>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/OrderObject.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptHost.h"
#include "Source/Interpreter/StatementRunner.h"
#include "Source/Script/F/DefinitionMessages.h"
#include "Source/Script/F/RegisterKind.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Media/Audio.h"
#include "framework/Media/SoundResource.h"

namespace Quenta::GameComponent {

std::mutex& CharacterObject::orderRequestLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

void CharacterObject::requestOrder(OrderRequest request) {
    std::lock_guard guard(orderRequestLock());
    orderRequests_.push_back(std::move(request));
}

std::size_t CharacterObject::pendingOrderRequests() const {
    std::lock_guard guard(orderRequestLock());
    return orderRequests_.size();
}

void CharacterObject::takeWinningOrderRequest() {
    // Every request pending now is decided: the winner is carried out and the others
    // are discarded, not deferred. The list is taken out under the lock and the winner
    // carried out without it, because carrying it out runs script code and starts an
    // order whose events may queue requests of their own (a condition event firing as
    // its order starts): those are for the next frame.
    std::vector<OrderRequest> pending;
    {
        std::lock_guard guard(orderRequestLock());
        pending.swap(orderRequests_);
    }
    if (pending.empty()) return;
    // The highest priority; among equals the earliest queued (max_element keeps the
    // first of equal elements).
    auto winner = std::max_element(pending.begin(), pending.end(),
                                   [](const OrderRequest& a, const OrderRequest& b) { return a.priority < b.priority; });
    carryOut(*winner);
}

void CharacterObject::carryOut(OrderRequest& request) {
    if (!request.code.empty()) {
        if (!runGuarded([&] { Interpreter::runBlock(*parser_, request.code); })) return;
    }
    if (request.dragMode == OrderRequest::DragStart) {
        startDragging();
    } else if (request.dragMode == OrderRequest::DragStop) {
        const double s = scale();
        if (s > 0.0) setBasePosition(x() / s + basePosX(), y() / s + basePosY());
        stopDragging();
    }
    publishTarget(request);
    if (!request.soundName.empty()) {
        if (auto sound = Arbor::Media::cachedSound(*cache_, request.soundName)) soundPlayer_->play(sound.get());
    }
    if (!request.menuName.empty()) {
        // A request with a target object carries a rectangle in the parent's coordinates;
        // the mouse kinds carry the point in the character's own (no target): either way
        // the menu opens where the event happened.
        const GameObject* origin = request.target ? parent() : this;
        postMenuRequest(request.menuName, request.targetX + (origin ? origin->absoluteX() : 0.0),
                        request.targetY + (origin ? origin->absoluteY() : 0.0));
    }
    if (request.docking == OrderRequest::DockToTarget) {
        if (request.target) dockTo(*request.target);
    } else if (request.docking == OrderRequest::DockPurge) {
        if (parent() && parent()->parent()) dockTo(*parent()->parent());
    }
    if (!request.orderName.empty()) selectOrder(request.orderName);
}

void CharacterObject::selectOrder(const std::u16string& orderName) {
    if (!active_) return;
    publishObject();
    runGuarded([&] {
        const Script::DefinitionRecord& block = definition_->findRecord(orderName);
        if (block.kind() == Script::RegisterKind::Final) {
            runExitOrder();
            return;
        }
        if (block.kind() != Script::RegisterKind::Order) {
            // Only an order can be made current; any other block is as unknown here as
            // a missing name.
            throw Interpreter::ScriptException(Script::Messages::unknownRecord(orderName));
        }
        clearNamedObjects();
        order_->start(block);
        const int w = std::max(order_->width(), 1);
        const int h = std::max(order_->height(), 1);
        if (composed_->width() != w || composed_->height() != h) {
            composed_ = std::make_unique<Arbor::Graphics::BufferedImage>(w, h);
        }
        invalidateImage();
    });
}

std::u16string CharacterObject::currentOrderName() const {
    return order_ && order_->hasOrder() ? order_->record().funcName : std::u16string();
}

// --- script-visible state ------------------------------------------------------------------

double CharacterObject::mouseX() const {
    const GameObject* reference = pendingParent_ ? pendingParent_ : parent();
    const double cursor = Interpreter::ScriptHost::current().systemVariable(Interpreter::SystemVariable::MouseX);
    const double relative = cursor - (reference ? reference->absoluteX() : 0.0);
    const double s = scale();
    return s > 0.0 ? relative / s : relative;
}

double CharacterObject::mouseY() const {
    const GameObject* reference = pendingParent_ ? pendingParent_ : parent();
    const double cursor = Interpreter::ScriptHost::current().systemVariable(Interpreter::SystemVariable::MouseY);
    const double relative = cursor - (reference ? reference->absoluteY() : 0.0);
    const double s = scale();
    return s > 0.0 ? relative / s : relative;
}

void CharacterObject::publishObject() {
    obj_->setNumber(u"X", baseX());
    obj_->setNumber(u"Y", baseY());
    obj_->setNumber(u"Scale", scale());
    obj_->setNumber(u"Alpha", alpha());
    obj_->setNumber(u"ZOrder", zOrder());
    obj_->setNumber(u"MouseX", mouseX());
    obj_->setNumber(u"MouseY", mouseY());
    publishBox();
}

void CharacterObject::publishBox() {
    const GameObject* p = parent();
    double w = p ? p->width() : DesktopObject::instance().width();
    double h = p ? p->height() : DesktopObject::instance().height();
    // A scale of 0 shows nothing; the box keeps its unscaled size rather than infinity.
    const double s = scale();
    if (s > 0.0) {
        w /= s;
        h /= s;
    }
    box_->setNumber(u"Left", 0.0);
    box_->setNumber(u"Top", 0.0);
    box_->setNumber(u"Right", w);
    box_->setNumber(u"Bottom", h);
    box_->setNumber(u"Width", w);
    box_->setNumber(u"Height", h);
}

void CharacterObject::publishTarget(const OrderRequest& request) {
    std::u16string id;
    std::u16string name;
    double tx = request.targetX;
    double ty = request.targetY;
    double tw = request.targetWidth;
    double th = request.targetHeight;
    if (request.target) {
        if (request.target->isView() && static_cast<ViewObject*>(request.target)->isCharacter()) {
            const auto* character = static_cast<const CharacterObject*>(request.target);
            id = character->configuration_.objectId;
            name = character->configuration_.objectName;
        }
        tx = request.target->x();
        ty = request.target->y();
        tw = request.target->width();
        th = request.target->height();
    }
    target_->setString(u"Id", id);
    target_->setString(u"Name", name);
    target_->setNumber(u"X", tx);
    target_->setNumber(u"Y", ty);
    target_->setNumber(u"Width", tw);
    target_->setNumber(u"Height", th);
    const double s = scale() > 0.0 ? scale() : 1.0;
    target_->setNumber(u"EventAreaX", request.targetX / s);
    target_->setNumber(u"EventAreaY", request.targetY / s);
    target_->setNumber(u"EventAreaWidth", request.targetWidth / s);
    target_->setNumber(u"EventAreaHeight", request.targetHeight / s);
}

}  // namespace Quenta::GameComponent
