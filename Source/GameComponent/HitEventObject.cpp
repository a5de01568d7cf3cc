#include "Source/GameComponent/HitEventObject.h"

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/CodeLoopObject.h"
#include "Source/GameComponent/EventRequest.h"
#include "Source/GameComponent/HitAreaObject.h"
#include "framework/Platform/Screen.h"

namespace Quenta::GameComponent {

namespace {

constexpr int kPriorities[] = {2, 5, 4, 6, 6, 7, 7, 2, 2, 2, 2};

// The rectangle scaled and placed at a position.
AreaRect placedAt(const AreaRect& r, double scale, double x, double y) {
    return AreaRect{x + r.x * scale, y + r.y * scale, r.width * scale, r.height * scale};
}

// Left, top, right and bottom of a rectangle whatever the signs of its size.
struct Edges {
    double left, top, right, bottom;
};
Edges edgesOf(const AreaRect& r) {
    return Edges{std::min(r.x, r.x + r.width), std::min(r.y, r.y + r.height), std::max(r.x, r.x + r.width),
                 std::max(r.y, r.y + r.height)};
}

}  // namespace

int HitEventObject::priorityOf(int hitType) {
    return hitType >= 0 && hitType < int(std::size(kPriorities)) ? kPriorities[hitType] : 0;
}

HitEventObject::HitEventObject(CharacterObject& character) : ScriptObject(character, u"hitEvent") {}

HitEventObject::~HitEventObject() = default;

void HitEventObject::start(const Script::DefinitionRecord& block) {
    Interpreter::Parser& parser = character().parser();
    Interpreter::ScopePush push(parser, scope());
    setBlock(block);
    record_ = Script::readHitEventRecord(parser, block);
    publishFuncName(record_.funcName);
    ownAreas_.clear();
    for (const std::u16string& name : record_.myHitArea) {
        const Script::DefinitionRecord& areaBlock = blockNamed(name, HitArea);
        auto area = std::make_unique<HitAreaObject>(character());
        area->start(areaBlock);
        ownAreas_.push_back(std::move(area));
    }
    resetStroke();
    runCodeInit(parser, block);
    codeLoop_ = std::make_unique<CodeLoopObject>(parser, block);
}

void HitEventObject::update() {
    if (!block()) return;
    {
        Interpreter::ScopePush push(character().parser(), scope());
        if (codeLoop_) codeLoop_->run();
    }
    if (record_.hitType == StrokeCursor && strokeCounter_.value() != 0) {
        strokeTimer_.stepForward();
        if (strokeTimer_.atEnd()) resetStroke();
    }
}

bool HitEventObject::conditionHolds() {
    if (!block()) return false;
    if (!record_.condition || record_.condition->empty()) return true;
    Interpreter::ScopePush push(character().parser(), scope());
    return Script::evaluateBool(character().parser(), *record_.condition);
}

bool HitEventObject::containsPoint(double x, double y) const {
    for (const std::unique_ptr<HitAreaObject>& area : ownAreas_)
        if (area->contains(x, y)) return true;
    return false;
}

void HitEventObject::animate() {
    switch (record_.hitType) {
    case HitChara:
        testOtherCharacters();
        break;
    case HitCursor:
        testCursor();
        break;
    case BoxLeft:
    case BoxTop:
    case BoxRight:
    case BoxBottom:
        testBox();
        break;
    default:
        break;
    }
}

void HitEventObject::fire(GameObject* target, const AreaRect& rect) {
    OrderRequest request;
    {
        Interpreter::ScopePush push(character().parser(), scope());
        request.orderName = pickOrderName(character().parser(), record_.funcListEvent);
    }
    request.priority = priorityOf(record_.hitType);
    request.dragMode = record_.dragDropState;
    request.docking = record_.dockingState;
    request.target = target;
    request.targetX = rect.x;
    request.targetY = rect.y;
    request.targetWidth = rect.width;
    request.targetHeight = rect.height;
    request.soundName = record_.soundName;
    request.menuName = record_.popupMenuName;
    request.code = eventCode(record_.onEvent);
    character().requestOrder(std::move(request));
}

AreaRect HitEventObject::placed(const HitAreaObject& area) const {
    const CharacterObject& self = character();
    return placedAt(area.rect(), self.scale(), self.x(), self.y());
}

void HitEventObject::testOtherCharacters() {
    CharacterObject& self = character();
    CharacterObject* hitCharacter = nullptr;
    AreaRect hitRect;
    CharacterRegistry::instance().forEach([&](CharacterObject& other) {
        if (hitCharacter || &other == &self || other.parent() != self.parent()) return;
        if (!other.isActive() || !other.currentOrder()) return;
        bool named = false;
        for (const std::u16string& id : record_.targetId)
            if (id == u"ALL" || id == other.groupId() || id == other.objectIdText()) named = true;
        if (!named) return;
        for (const std::u16string& areaName : record_.targetHitArea) {
            const HitAreaObject* theirs = other.currentOrder()->hitArea(areaName);
            if (!theirs) continue;
            const AreaRect theirRect = placedAt(theirs->rect(), other.scale(), other.x(), other.y());
            for (const std::unique_ptr<HitAreaObject>& mine : ownAreas_) {
                const bool overlap = rectsOverlap(placed(*mine), theirRect);
                if (overlap != mine->isOutRect()) {
                    hitCharacter = &other;
                    hitRect = theirRect;
                    return;
                }
            }
        }
    });
    // Fired outside the walk: the request must not be queued under the registry lock.
    if (hitCharacter) fire(hitCharacter, hitRect);
}

void HitEventObject::testCursor() {
    CharacterObject& self = character();
    const double scale = self.scale();
    if (scale <= 0) return;
    const Arbor::Platform::ScreenMetrics metrics = Arbor::Platform::screenService().metrics();
    const Arbor::Platform::Point cursor = Arbor::Platform::screenService().cursorPosition();
    const double x = cursor.x - metrics.virtualScreen.left - self.absoluteX();
    const double y = cursor.y - metrics.virtualScreen.top - self.absoluteY();
    if (containsPoint(x / scale, y / scale)) fire(nullptr, AreaRect{x, y, 0.0, 0.0});
}

void HitEventObject::testBox() {
    CharacterObject& self = character();
    GameObject* parent = self.parent();
    if (!parent) return;
    const double parentWidth = parent->width();
    const double parentHeight = parent->height();
    for (const std::unique_ptr<HitAreaObject>& area : ownAreas_) {
        const Edges e = edgesOf(placed(*area));
        switch (record_.hitType) {
        case BoxLeft:
            if (e.left <= 0) fire(parent, AreaRect{0.0, 0.0, 0.0, 0.0});
            break;
        case BoxTop:
            if (e.top <= 0) fire(parent, AreaRect{0.0, 0.0, 0.0, 0.0});
            break;
        case BoxRight:
            if (e.right >= parentWidth) fire(parent, AreaRect{parentWidth, 0.0, 0.0, 0.0});
            break;
        case BoxBottom:
            if (e.bottom >= parentHeight) fire(parent, AreaRect{0.0, parentHeight, 0.0, 0.0});
            break;
        default:
            break;
        }
    }
}

void HitEventObject::strokeAt(double x, double y) {
    if (lastStrokePoint_ && lastStrokePoint_->first == x && lastStrokePoint_->second == y) return;
    lastStrokePoint_ = std::make_pair(x, y);
    strokeCounter_.stepForward();
    if (!strokeCounter_.atEnd()) return;
    resetStroke();
    const double scale = character().scale();
    fire(nullptr, AreaRect{x * scale, y * scale, 0.0, 0.0});
}

void HitEventObject::resetStroke() {
    strokeCounter_.setValue(0);
    strokeTimer_.setValue(0);
    lastStrokePoint_.reset();
}

void HitEventObject::draw(Arbor::Graphics::PaintDevice& image) {
    for (const std::unique_ptr<HitAreaObject>& area : ownAreas_) area->draw(image);
}

}  // namespace Quenta::GameComponent
