#include "Source/GameComponent/HitAreaObject.h"

#include <cmath>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CodeLoopObject.h"
#include "framework/Graphics/Painter.h"

namespace Quenta::GameComponent {

namespace {

// The rectangle with non-negative size.
AreaRect normalised(const AreaRect& r) {
    AreaRect n = r;
    if (n.width < 0) {
        n.x += n.width;
        n.width = -n.width;
    }
    if (n.height < 0) {
        n.y += n.height;
        n.height = -n.height;
    }
    return n;
}

}  // namespace

HitAreaObject::HitAreaObject(CharacterObject& character) : ScriptObject(character, u"hitArea") {}

void HitAreaObject::start(const Script::DefinitionRecord& block) {
    Interpreter::Parser& parser = character().parser();
    Interpreter::ScopePush push(parser, scope());
    setBlock(block);
    record_ = Script::readHitAreaRecord(parser, block);
    publishFuncName(record_.funcName);
    runCodeInit(parser, block);
}

AreaRect HitAreaObject::rect() const {
    AreaRect r{double(record_.posX), double(record_.posY), double(record_.width), double(record_.height)};
    if (!record_.flagAutoFlip) return r;
    const OrderObject* order = character().currentOrder();
    if (!order) return r;
    if (order->flipsHorizontally()) r.x = order->width() - r.x - r.width;
    if (order->flipsVertically()) r.y = order->height() - r.y - r.height;
    return r;
}

bool HitAreaObject::contains(double x, double y) const {
    const AreaRect r = normalised(rect());
    const bool inside = r.width != 0 && r.height != 0 && x >= r.x && x < r.x + r.width && y >= r.y &&
                        y < r.y + r.height;
    return isOutRect() ? !inside : inside;
}

void HitAreaObject::draw(Arbor::Graphics::PaintDevice& image) const {
    const AreaRect r = normalised(rect());
    Arbor::Graphics::Painter painter(image);
    const auto px = [](double v) { return static_cast<std::int32_t>(std::floor(v)); };
    painter.drawFrame(Arbor::Graphics::Rect::fromSize(px(r.x), px(r.y), px(r.width), px(r.height)));
}

bool rectsOverlap(const AreaRect& a, const AreaRect& b) {
    if ((a.width == 0 && a.height == 0) || (b.width == 0 && b.height == 0)) return false;
    const AreaRect n = normalised(a);
    const AreaRect m = normalised(b);
    // Closed rectangles: touching edges share a point.
    return n.x <= m.x + m.width && m.x <= n.x + n.width && n.y <= m.y + m.height && m.y <= n.y + n.height;
}

}  // namespace Quenta::GameComponent
