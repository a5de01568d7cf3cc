#include "Source/GameComponent/BalloonObject.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "Source/GameComponent/BalloonManager.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/LinkCursor.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/ImageResource.h"
#include "framework/Graphics/Painter.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Window.h"

namespace Quenta::GameComponent {

std::mutex& balloonTransitionLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

BalloonObject::BalloonObject(BalloonManager& manager, CharacterObject& character, std::u16string name)
    : manager_(manager),
      character_(character),
      name_(std::move(name)),
      order_(std::make_unique<BalloonOrderObject>(character, *this)),
      surface_(std::make_unique<Arbor::Graphics::BufferedImage>(kInitialSurfaceSide, kInitialSurfaceSide)) {
    setHidden();
}

BalloonObject::~BalloonObject() {
    // The order's text layers and sounds go before the window they draw into.
    order_.reset();
    manager_.forget(*this);
}

// --- the manager's operations ----------------------------------------------------------------

void BalloonObject::setActive(bool on) {
    active_ = on;
    if (on && open_) {
        setShown();
        requestRedraw();
    } else if (!on) {
        setHidden();
    }
}

bool BalloonObject::isBusy() const { return !order_->textFinished() || queuedTransitions() > 0; }

std::size_t BalloonObject::queuedTransitions() const {
    std::lock_guard guard(balloonTransitionLock());
    return transitions_.size();
}

void BalloonObject::receiveCall(const std::u16string& orderName, int callType) {
    if (!active_) return;
    if (!isBusy()) {
        startOrder(orderName);
        return;
    }
    pending_.clear();
    if (callType == Normal) return;
    if (callType == Wait) {
        pending_ = orderName;
        return;
    }
    startOrder(orderName);
}

void BalloonObject::startOrder(const std::u16string& orderName) {
    const Script::DefinitionRecord& block = character_.definition().findRecord(orderName);
    Interpreter::ScopePush push(character_.parser(), scope_);
    publishPosition();
    order_->start(block);
    surface_->reserve(order_->width(), order_->height());
    {
        std::deque<std::unique_ptr<BalloonTransition>> dropped;
        std::lock_guard guard(balloonTransitionLock());
        transitions_.swap(dropped);
    }
    composed_ = false;
    requestRedraw();
}

void BalloonObject::queueTransition(std::unique_ptr<BalloonTransition> transition) {
    std::lock_guard guard(balloonTransitionLock());
    transitions_.push_back(std::move(transition));
}

void BalloonObject::terminate() {
    {
        std::lock_guard guard(balloonTransitionLock());
        transitions_.clear();
    }
    order_->finishText();
}

void BalloonObject::moveOrder(double x, double y) { order_->moveTo(x, y); }

int BalloonObject::frameNumber() const { return order_->frameNumber(); }

void BalloonObject::setFrameNumber(int n) {
    order_->setFrameNumber(n);
    composed_ = false;
    requestRedraw();
}

int BalloonObject::openPercent() const {
    std::lock_guard guard(balloonTransitionLock());
    if (!transitions_.empty()) return transitions_.front()->size.value();
    return open_ ? 100 : 0;
}

int BalloonObject::opacityPercent() const {
    std::lock_guard guard(balloonTransitionLock());
    if (!transitions_.empty()) return transitions_.front()->opacity.value();
    return open_ ? 100 : 0;
}

// --- frame phases --------------------------------------------------------------------------------

void BalloonObject::publishPosition() {
    scope_.setNumber(u"X", order_->x());
    scope_.setNumber(u"Y", order_->y());
}

void BalloonObject::runOrderCode(const std::function<void()>& code) {
    character_.runGuarded([&] {
        Interpreter::ScopePush push(character_.parser(), scope_);
        code();
    });
}

void BalloonObject::inputPhase() {
    publishPosition();
    if (active_ && order_->hasOrder() && !isBusy()) {
        // The balloon is idle: the next order of the chain, else the one that waited.
        std::u16string next = order_->takeNextOrder();
        if (next.empty()) next = std::exchange(pending_, {});
        if (!next.empty()) character_.runGuarded([&] { startOrder(next); });
    } else if (active_ && !order_->hasOrder() && !pending_.empty()) {
        character_.runGuarded([&] { startOrder(std::exchange(pending_, {})); });
    }
    ViewObject::inputPhase();
}

void BalloonObject::updatePhase() {
    if (active_) {
        if (isBusy()) {
            runOrderCode([&] {
                if (order_->step()) composed_ = false;
            });
        }
        // Hovered links let go when the cursor has left them.
        if (isShown()) {
            std::optional<std::pair<double, double>> cursor;
            const Arbor::Platform::Point p = Arbor::Platform::screenService().cursorPosition();
            const double sx = p.x - DesktopObject::instance().originX() - absoluteX();
            const double sy = p.y - DesktopObject::instance().originY() - absoluteY();
            if (sx >= 0 && sy >= 0 && sx < width() && sy < height()) cursor = surfacePoint(sx, sy);
            for (const auto& text : order_->textLayers()) text->checkHover(cursor);
        }
        // The balloon follows its order's position (and its character) in every frame.
        applyFrontTransition();
        if (buttonHeld_ && !Arbor::Platform::windowService().isKeyDown(Arbor::Platform::VK_LBUTTON)) releaseButton();
    }
    GameObject::updatePhase();
}

void BalloonObject::placeWindow(double sizeFactor) {
    const double s = scale();
    double x = (order_->x() - order_->basePosX()) * s;
    double y = (order_->y() - order_->basePosY()) * s;
    double w = order_->width() * s;
    double h = order_->height() * s;
    if (order_->followsCharacter()) {
        // Balloon and character share a parent: the character's place is in the same terms.
        x += character_.x();
        y += character_.y();
    }
    w *= sizeFactor;
    h *= sizeFactor;
    x += order_->popupPosX() * s * (1.0 - sizeFactor);
    y += order_->popupPosY() * s * (1.0 - sizeFactor);
    setBounds(x, y, w, h);
}

void BalloonObject::applyFrontTransition() {
    double sizeFactor = 1.0;
    bool changed = false;
    bool hide = false;
    bool show = false;
    Interpreter::TokenLine commands;
    {
        std::lock_guard guard(balloonTransitionLock());
        if (!transitions_.empty()) {
            BalloonTransition& front = *transitions_.front();
            if (front.state == BalloonTransition::Queued && front.opens()) show = true;
            changed = front.step();
            sizeFactor = front.size.value() / 100.0;
            if (front.state == BalloonTransition::Finished) {
                commands = std::move(front.commands);
                hide = front.hidesAtEnd();
                transitions_.pop_front();
            }
        }
    }
    if (show) {
        open_ = true;
        setShown();
        changed = true;
    }
    placeWindow(sizeFactor);
    if (!commands.empty()) character_.postCommand(std::move(commands));
    if (hide) {
        open_ = false;
        setHidden();
    }
    if (changed) requestRedraw();
}

void BalloonObject::setHidden() {
    ViewObject::setHidden();
    if (buttonHeld_) releaseButton();
}

void BalloonObject::renderPhase() {
    if (!active_ || !isShown()) return;
    if (needsDraw()) drawSurface();
    ViewObject::renderPhase();
}

void BalloonObject::drawSurface() {
    if (!composed_) {
        character_.runGuarded([&] { order_->draw(*surface_); });
        composed_ = true;
    }
    ViewObject* owner = windowOwner();
    if (!owner || !owner->activeWidget()) return;
    Arbor::Gui::LayeredWidget& widget = *owner->activeWidget();
    const bool ownWindow = owner == this;
    const int drawnWidth = static_cast<int>(std::lround(width()));
    const int drawnHeight = static_cast<int>(std::lround(height()));
    const int sourceWidth = order_->width();
    const int sourceHeight = order_->height();
    Arbor::Graphics::Painter painter(widget);
    if (ownWindow) painter.fillRect(Arbor::Graphics::Rect{0, 0, widget.width(), widget.height()}, 0);
    if (drawnWidth <= 0 || drawnHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
    const int left = ownWindow ? 0 : static_cast<int>(std::lround(absoluteX() - owner->absoluteX()));
    const int top = ownWindow ? 0 : static_cast<int>(std::lround(absoluteY() - owner->absoluteY()));
    Arbor::Graphics::DrawParams params;
    params.opacity = alpha() * opacityPercent() / 100.0;
    params.flip = static_cast<std::uint32_t>(order_->flip());
    params.blendMode = Arbor::Graphics::BlendMode::SourceOver;
    const auto source = Arbor::Graphics::Rect::fromSize(0, 0, sourceWidth, sourceHeight);
    if (drawnWidth == sourceWidth && drawnHeight == sourceHeight) {
        params.sampling = Arbor::Graphics::Sampling::Direct;
        painter.drawImageAt(*surface_, Arbor::Graphics::Point{left, top}, source, params);
    } else {
        params.sampling = scale() < 0.6 ? Arbor::Graphics::Sampling::AreaAverage : Arbor::Graphics::Sampling::Bilinear;
        painter.drawImage(*surface_, source, Arbor::Graphics::Rect::fromSize(left, top, drawnWidth, drawnHeight), params);
    }
}

std::pair<double, double> BalloonObject::surfacePoint(double x, double y) const {
    const double s = scale() > 0.0 ? scale() : 1.0;
    double px = x / s;
    double py = y / s;
    const int flip = order_->flip();
    if (flip & 1) px = order_->width() - px;
    if (flip & 2) py = order_->height() - py;
    return {px, py};
}

bool BalloonObject::isTransparentAt(double x, double y) const {
    if (!(scale() > 0.0)) return true;
    const auto [px, py] = surfacePoint(x, y);
    if (!(px >= 0 && py >= 0 && px < order_->width() && py < order_->height())) return true;
    return surface_->pixelAt({static_cast<std::int32_t>(px), static_cast<std::int32_t>(py)}) == 0;
}

// --- pointer -----------------------------------------------------------------------------------

void BalloonObject::onCursorEnter(ViewObject&, const InputEvent& event) {
    // Plain variables: lambdas below use them (clang refuses captured bindings).
    const std::pair<double, double> point = surfacePoint(event.x, event.y);
    const double px = point.first;
    const double py = point.second;
    bool overLink = false;
    runOrderCode([&] {
        for (const auto& text : order_->textLayers()) {
            if (text->pointerOver(px, py)) overLink = true;
        }
    });
    if (overLink) return;
    const std::u16string& name = character_.configuration().cursorNameNormal;
    std::shared_ptr<const Arbor::Platform::NativeCursor> cursor;
    if (!name.empty()) cursor = Arbor::Graphics::cachedCursor(character_.resources(), name);
    postCursor(std::move(cursor));
}

void BalloonObject::onLeftButtonDown(ViewObject& receiver, const InputEvent& event) {
    buttonHeld_ = true;
    InputEvent forCharacter = event;
    forCharacter.x = event.x + absoluteX() - character_.absoluteX();
    forCharacter.y = event.y + absoluteY() - character_.absoluteY();
    character_.onLeftButtonDown(receiver, forCharacter);
    const std::pair<double, double> point = surfacePoint(event.x, event.y);
    const double px = point.first;
    const double py = point.second;
    runOrderCode([&] {
        // The link's commands may start another order on this balloon: the layers are
        // walked by index and the walk stops once one has taken the press.
        const auto& layers = order_->textLayers();
        for (std::size_t i = 0; i < layers.size(); ++i) {
            if (layers[i]->buttonDown(px, py)) break;
        }
    });
}

void BalloonObject::onLeftButtonUp(ViewObject&, const InputEvent& event) {
    buttonHeld_ = false;
    const auto [px, py] = surfacePoint(event.x, event.y);
    for (const auto& text : order_->textLayers()) text->buttonUp(px, py);
}

void BalloonObject::releaseButton() {
    buttonHeld_ = false;
    for (const auto& text : order_->textLayers()) text->buttonUp(-1, -1);
}

// --- TextLayerHost -------------------------------------------------------------------------------

void BalloonObject::requestTextRedraw() {
    composed_ = false;
    requestRedraw();
}

void BalloonObject::openFromText(int sizeStep, int opacityStep) {
    queueTransition(BalloonTransition::opening(sizeStep, opacityStep));
}

void BalloonObject::closeFromText(int sizeStep, int opacityStep) {
    queueTransition(BalloonTransition::closing(sizeStep, opacityStep));
}

void BalloonObject::setLinkCursor(bool overLink) {
    if (overLink) postCursor(linkCursor());
}

}  // namespace Quenta::GameComponent
