// The five frame phases of a character, its mouse input and its drawing.
#include <cmath>

#include "Source/GameComponent/CharacterBalloons.h"
#include "Source/GameComponent/CharacterMenus.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/OrderObject.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "Source/Interpreter/ScriptHost.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/ImageResource.h"
#include "framework/Graphics/Painter.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Window.h"

namespace Quenta::GameComponent {

// --- phases ---------------------------------------------------------------------------------

void CharacterObject::inputPhase() {
    serviceSessionEnd();
    if (lifeState() == LifeState::TerminationRequested) beginTermination();
    if (menus_ && menus_->hasPendingMenu() && !isMenuOpen()) {
        menus_->forgetPendingMenu();
        menuWindow_ = Arbor::Platform::WindowHandle::None;
    }
    runCommands();
    // A change of foreground program cancels the key macros; a finished one makes way
    // for the next.
    keyMacros_.step();
    // Queued window events, then the children.
    ViewObject::inputPhase();
}

void CharacterObject::updatePhase() {
    advanceRestackCounter();
    if (active_) {
        takeWinningOrderRequest();
        if (balloons_) balloons_->processRequests();
    }
    publishObject();
    if (pendingParent_) {
        restackCounter_ = 2;
        pendingParent_ = nullptr;
    }
    GameObject::updatePhase();
}

void CharacterObject::advanceRestackCounter() {
    if (restackCounter_ <= 0) return;
    if (--restackCounter_ == 0) restackWindows();
}

void CharacterObject::motionPhase() {
    if (active_ && order_->hasOrder()) {
        if (runGuarded([&] { order_->update(); })) {
            AreaRect rect = order_->characterRect(scale());
            if (dragging_) {
                const GameObject* p = parent();
                const Interpreter::ScriptHost& host = Interpreter::ScriptHost::current();
                rect.x += host.systemVariable(Interpreter::SystemVariable::MouseX) - (p ? p->absoluteX() : 0.0);
                rect.y += host.systemVariable(Interpreter::SystemVariable::MouseY) - (p ? p->absoluteY() : 0.0);
                // A drag ends where the button is let go, also outside the window, which
                // then never hears of the release.
                if (!Arbor::Platform::windowService().isKeyDown(Arbor::Platform::VK_LBUTTON)) {
                    const double cx = host.systemVariable(Interpreter::SystemVariable::MouseX) - absoluteX();
                    const double cy = host.systemVariable(Interpreter::SystemVariable::MouseY) - absoluteY();
                    runGuarded([&] { order_->offerLeftButtonUp(cx, cy); });
                }
            }
            setBounds(rect.x, rect.y, rect.width, rect.height);
        }
    }
    GameObject::motionPhase();
}

void CharacterObject::animationPhase() {
    if (active_ && order_->hasOrder()) runGuarded([&] { order_->animate(); });
    GameObject::animationPhase();
}

void CharacterObject::renderPhase() {
    // Neither it nor its children are drawn while it is hidden.
    if (!active_ || !isShown()) return;
    if (needsComposing() && order_->hasOrder()) {
        runGuarded([&] { order_->draw(*composed_); });
        markImageComposed();
    }
    if (needsDraw()) {
        for (GameObject* child : children()) {
            if (child->isView()) static_cast<ViewObject*>(child)->requestRedraw();
        }
        drawComposedImage();
    }
    ViewObject::renderPhase();
}

void CharacterObject::drawComposedImage() {
    ViewObject* owner = windowOwner();
    if (!owner || !owner->activeWidget()) return;
    Arbor::Gui::LayeredWidget& widget = *owner->activeWidget();
    const bool ownWindow = owner == this;
    const int drawnWidth = static_cast<int>(std::lround(width()));
    const int drawnHeight = static_cast<int>(std::lround(height()));
    if (drawnWidth <= 0 || drawnHeight <= 0) return;
    const int composedWidth = order_->hasOrder() ? order_->width() : composed_->width();
    const int composedHeight = order_->hasOrder() ? order_->height() : composed_->height();
    if (composedWidth <= 0 || composedHeight <= 0) return;
    const int left = ownWindow ? 0 : static_cast<int>(std::lround(absoluteX() - owner->absoluteX()));
    const int top = ownWindow ? 0 : static_cast<int>(std::lround(absoluteY() - owner->absoluteY()));

    Arbor::Graphics::DrawParams params;
    params.opacity = alpha();
    params.flip = static_cast<std::uint32_t>(order_->hasOrder() ? order_->flip() : 0);
    // Its own window takes the pixels as they are; a window it is drawn into keeps
    // what lies below.
    params.blendMode = ownWindow ? Arbor::Graphics::BlendMode::Copy : Arbor::Graphics::BlendMode::SourceOver;
    Arbor::Graphics::Painter painter(widget);
    const auto source = Arbor::Graphics::Rect::fromSize(0, 0, composedWidth, composedHeight);
    if (drawnWidth == composedWidth && drawnHeight == composedHeight) {
        params.sampling = Arbor::Graphics::Sampling::Direct;
        painter.drawImageAt(*composed_, Arbor::Graphics::Point{left, top}, source, params);
    } else {
        params.sampling = scale() < 0.6 ? Arbor::Graphics::Sampling::AreaAverage : Arbor::Graphics::Sampling::Bilinear;
        painter.drawImage(*composed_, source, Arbor::Graphics::Rect::fromSize(left, top, drawnWidth, drawnHeight),
                          params);
    }
    lastSampling_ = static_cast<int>(params.sampling);
}

// --- pixels ----------------------------------------------------------------------------------

bool CharacterObject::isTransparentAt(double x, double y) const {
    const double s = scale();
    if (!(s > 0.0)) return true;
    double px = x / s;
    double py = y / s;
    if (order_->hasOrder()) {
        if (order_->flipsHorizontally()) px = order_->width() - 1 - px;
        if (order_->flipsVertically()) py = order_->height() - 1 - py;
    }
    const auto ix = static_cast<std::int32_t>(std::floor(px));
    const auto iy = static_cast<std::int32_t>(std::floor(py));
    return composed_->pixelAt(Arbor::Graphics::Point{ix, iy}) == 0;
}

void CharacterObject::invalidateImage() {
    imageComposed_ = false;
    requestRedraw();
}

// --- input --------------------------------------------------------------------------------------

void CharacterObject::onCursorEnter(ViewObject&, const InputEvent& event) {
    std::u16string name;
    if (order_->hasOrder()) runGuarded([&] { name = order_->offerCursor(event.x, event.y); });
    if (name.empty()) name = configuration_.cursorNameNormal;
    std::shared_ptr<const Arbor::Platform::NativeCursor> cursor;
    // A cursor file that cannot be loaded gives the standard arrow.
    if (!name.empty()) cursor = Arbor::Graphics::cachedCursor(*cache_, name);
    postCursor(std::move(cursor));
}

void CharacterObject::onMenuItem(ViewObject&, const InputEvent& event) {
    if (menus_) menus_->onMenuItem(event);
}

void CharacterObject::onMenuPopup(ViewObject&, const InputEvent& event) {
    if (menus_ && (menus_->isPendingMenu(event.wParam) || menuWindow_ == Arbor::Platform::WindowHandle::None)) {
        menuWindow_ = menus_->popupWindow();
        const CharacterObject* main = CharacterRegistry::instance().mainObject();
        if (menuWindow_ != Arbor::Platform::WindowHandle::None && main && main->isTopmost()) {
            Arbor::Platform::popupMenuService().setMenuWindowTopmost(menuWindow_);
        }
    }
    if (const auto& bring = SceneEnvironment::current().bringProgramsToFront) bring();
    postCursor(nullptr);
}

void CharacterObject::onLeftButtonDown(ViewObject&, const InputEvent& event) {
    buttonWentDown();
    if (order_->hasOrder()) runGuarded([&] { order_->offerLeftButtonDown(event.x, event.y); });
}

void CharacterObject::onRightButtonDown(ViewObject&, const InputEvent& event) {
    buttonWentDown();
    if (order_->hasOrder()) runGuarded([&] { order_->offerRightButtonDown(event.x, event.y); });
}

void CharacterObject::onLeftButtonUp(ViewObject&, const InputEvent& event) {
    if (order_->hasOrder()) runGuarded([&] { order_->offerLeftButtonUp(event.x, event.y); });
}

void CharacterObject::onRightButtonUp(ViewObject&, const InputEvent& event) {
    if (order_->hasOrder()) runGuarded([&] { order_->offerRightButtonUp(event.x, event.y); });
}

void CharacterObject::buttonWentDown() {
    // The character and its balloons come to the front of their siblings' windows, and
    // so do the programs its scripts launched (requestRestack does both).
    requestRestack();
}

void CharacterObject::showMenuRequest(ViewObject&, const MenuRequest& request, int screenX, int screenY) {
    if (!menus_) return;
    if (CharacterObject* main = CharacterRegistry::instance().mainObject()) {
        if (Arbor::Gui::LayeredWidget* widget = main->ownWidget()) widget->window().setForeground();
    }
    menus_->showMenu(request.menuName, screenX, screenY);
}

}  // namespace Quenta::GameComponent
