#include "Source/GameComponent/ViewObject.h"

#include <algorithm>
#include <cmath>

#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/DisplayChange.h"
#include "Source/GameComponent/RestackQueue.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Window.h"

namespace Quenta::GameComponent {

namespace {
using Arbor::Platform::WindowHandle;
using Arbor::Platform::windowService;

constexpr double kTopmostBoost = 100000000.0;

struct ProcessWide {
    std::mutex lock;
    std::u16string objectWindowTitle;
    WindowHandle ownerWindow = WindowHandle::None;
};
ProcessWide& processWide() {
    static ProcessWide* p = new ProcessWide;
    return *p;
}

}  // namespace

ViewObject::ViewObject(const std::u16string& windowTitle) : widget_(std::make_unique<Arbor::Gui::LayeredWidget>()) {
    Arbor::Gui::Window& window = widget_->window();
    window.setTitle(windowTitle);
    // A click on a character must not take the focus from the user's window.
    window.setMouseActivateAnswer(Arbor::Gui::MA_NOACTIVATE);
    if (window.hasWindow()) {
        const WindowHandle handle = window.handle();
        windowService().setExStyle(handle, windowService().exStyle(handle) | Arbor::Platform::WS_EX_NOACTIVATE);
        const WindowHandle owner = ownerWindow();
        if (owner != WindowHandle::None && owner != handle) window.setOwner(owner);
    }
    widget_->addOnAppListener(this);
    widget_->addOnQueryEndSessionListener(this);
    widget_->addOnEndSessionListener(this);
    widget_->addOnCursorEnterListener(this);
    widget_->addOnResolutionChangeListener(this);
    widget_->addOnMenuItemListener(this);
    widget_->addOnAcceleratorListener(this);
    widget_->addOnMouseMoveListener(this);
    widget_->addOnMouseDownListener(this);
    widget_->addOnMouseUpListener(this);
    widget_->addOnMouseDoubleClickListener(this);
    widget_->addOnCaptureChangedListener(this);
    widget_->addOnInitMenuPopupListener(this);
    widget_->addOnWomDoneListener(this);
    decideWindowOwnership();
}

ViewObject::~ViewObject() {
    // Out of the tree first, so that no walk meets a half-destroyed object; the
    // children may draw into this object's window, so they go before it.
    detachFromParent();
    deleteChildren();
    {
        std::lock_guard guard(inputLock());
        inputQueue_.clear();
    }
    activeWidget_ = nullptr;
    widget_.reset();
}

// --- process-wide settings ----------------------------------------------------------

const std::u16string& ViewObject::objectWindowTitle() {
    static const std::u16string fallback = u"_Object_Window";
    const std::u16string& title = processWide().objectWindowTitle;
    return title.empty() ? fallback : title;
}
void ViewObject::setObjectWindowTitle(std::u16string title) { processWide().objectWindowTitle = std::move(title); }
WindowHandle ViewObject::ownerWindow() {
    std::lock_guard guard(processWide().lock);
    return processWide().ownerWindow;
}
void ViewObject::setOwnerWindow(WindowHandle window) {
    std::lock_guard guard(processWide().lock);
    processWide().ownerWindow = window;
}
std::mutex& ViewObject::inputLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

// --- GameObject overrides --------------------------------------------------------------

Arbor::Graphics::PaintDevice* ViewObject::ownSurface() { return activeWidget_; }

double ViewObject::zOrder() const { return GameObject::zOrder() + (topmost_ ? kTopmostBoost : 0.0); }

void ViewObject::setScale(double s) {
    GameObject::setScale(s);
    requestRedraw();
}

void ViewObject::setZOrder(double z) {
    GameObject::setZOrder(z);
    requestRestack();
}

void ViewObject::setAlpha(double a) {
    alpha_ = std::clamp(a, 0.0, 1.0);
    if (std::isnan(a)) alpha_ = 0.0;
    requestRedraw();
}

void ViewObject::setHidden() {
    GameObject::setHidden();
    if (activeWidget_) {
        if (Arbor::Graphics::BufferedImage* buffer = activeWidget_->backBuffer()) {
            std::fill_n(buffer->bits(), static_cast<std::size_t>(buffer->width()) * buffer->height(),
                        Arbor::Graphics::Pixel{});
        }
        activeWidget_->present();
    }
    requestRedraw();
}

bool ViewObject::setBounds(double x, double y, double w, double h) {
    if (!GameObject::setBounds(x, y, w, h)) return false;
    if (activeWidget_) {
        // The layered window takes the rectangle at its next present.
        const DesktopObject& desktop = DesktopObject::instance();
        const double left = absoluteX() + desktop.originX();
        const double top = absoluteY() + desktop.originY();
        const int l = static_cast<int>(std::lround(left));
        const int t = static_cast<int>(std::lround(top));
        const int r = static_cast<int>(std::lround(left + std::max(w, 0.0)));
        const int b = static_cast<int>(std::lround(top + std::max(h, 0.0)));
        activeWidget_->setGeometry(Arbor::Platform::Rect{l, t, r, b});
    }
    return true;
}

void ViewObject::attachTo(GameObject& parent) {
    GameObject::attachTo(parent);
    if (this->parent() != &parent) return;
    decideWindowOwnership();
    if (activeWidget_) restackWindows();
    requestRedraw();
}

void ViewObject::inputPhase() {
    for (;;) {
        InputEvent event;
        {
            std::lock_guard guard(inputLock());
            if (inputQueue_.empty()) break;
            event = inputQueue_.front();
            inputQueue_.pop_front();
        }
        dispatchInput(event);
    }
    GameObject::inputPhase();
}

void ViewObject::renderPhase() {
    GameObject::renderPhase();
    if (activeWidget_ && (needsDraw() || boundsChanged())) {
        activeWidget_->present();
        if (!activeWidget_->isVisible()) activeWidget_->show();
    }
    markDrawn();
    clearBoundsChanged();
}

// --- redraw, stacking, ownership ----------------------------------------------------------

void ViewObject::requestRedraw() {
    drawn_ = false;
    if (activeWidget_) return;
    if (ViewObject* owner = windowOwner(); owner && owner != this) owner->requestRedraw();
}

ViewObject* ViewObject::windowOwner() {
    for (GameObject* p = this; p; p = p->parent()) {
        if (!p->isView()) continue;
        auto* view = static_cast<ViewObject*>(p);
        if (view->activeWidget_ && (view == this || view->isCharacter())) return view;
    }
    return nullptr;
}

void ViewObject::decideWindowOwnership() {
    bool insideCharacterWindow = false;
    for (GameObject* p = parent(); p; p = p->parent()) {
        if (!p->isView()) continue;
        auto* view = static_cast<ViewObject*>(p);
        if (view->isCharacter() && view->activeWidget_) {
            insideCharacterWindow = true;
            break;
        }
    }
    if (insideCharacterWindow) {
        if (activeWidget_) activeWidget_->hide();
        activeWidget_ = nullptr;
        return;
    }
    if (!widget_ || !widget_->window().hasWindow()) return;
    activeWidget_ = widget_.get();
    if (topmost_) widget_->window().setZOrder(Arbor::Platform::ZOrder::Topmost);
}

void ViewObject::requestRestack() {
    if (GameObject* p = parent()) RestackQueue::instance().push(*p, *this);
}

void ViewObject::restackWindows() {
    GameObject* p = parent();
    if (!p || !activeWidget_) return;
    const double z = zOrder();
    WindowHandle above = WindowHandle::None;
    const auto& siblings = p->children();
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
        GameObject* sibling = *it;
        if (sibling == this || !sibling->isView() || !(sibling->zOrder() > z)) continue;
        auto* view = static_cast<ViewObject*>(sibling);
        if (!view->activeWidget_ || !view->activeWidget_->window().hasWindow()) continue;
        // Windows of the other band are stacked by the band: placing an ordinary window
        // directly below a topmost one would make it topmost too.
        if (view->topmost_ != topmost_) continue;
        const WindowHandle handle = view->activeWidget_->window().handle();
        if (above == WindowHandle::None) {
            windowService().setZOrder(handle, Arbor::Platform::ZOrder::Top);
        } else {
            windowService().placeBelow(handle, above);
        }
        above = handle;
    }
    const WindowHandle own = activeWidget_->window().handle();
    if (above == WindowHandle::None) {
        windowService().setZOrder(own, Arbor::Platform::ZOrder::Top);
    } else {
        windowService().placeBelow(own, above);
    }
}

bool ViewObject::isMenuOpen() const {
    // Asked of the menu service: drawn and recorded menus are no ordinary windows.
    return menuWindow_ != WindowHandle::None && Arbor::Platform::popupMenuService().isMenuWindowVisible(menuWindow_);
}

void ViewObject::setNoActivate(bool on) {
    if (!widget_ || !widget_->window().hasWindow()) return;
    const WindowHandle handle = widget_->window().handle();
    std::uint32_t style = windowService().exStyle(handle);
    style = on ? (style | Arbor::Platform::WS_EX_NOACTIVATE) : (style & ~Arbor::Platform::WS_EX_NOACTIVATE);
    windowService().setExStyle(handle, style);
    widget_->window().setMouseActivateAnswer(on ? Arbor::Gui::MA_NOACTIVATE : Arbor::Gui::MA_ACTIVATE);
}

void ViewObject::setTopmost() {
    topmost_ = true;
    if (widget_ && widget_->window().hasWindow()) widget_->window().setZOrder(Arbor::Platform::ZOrder::Topmost);
    requestRestack();
}

void ViewObject::clearTopmost() {
    topmost_ = false;
    if (widget_ && widget_->window().hasWindow()) widget_->window().setZOrder(Arbor::Platform::ZOrder::NoTopmost);
    requestRestack();
}

// --- input ----------------------------------------------------------------------------------

void ViewObject::queueInput(const InputEvent& event) {
    std::lock_guard guard(inputLock());
    inputQueue_.push_back(event);
}

std::size_t ViewObject::pendingInput() const {
    std::lock_guard guard(inputLock());
    return inputQueue_.size();
}

ViewObject* ViewObject::hitTest(GameObject& object, double x, double y) {
    if (!object.isShown()) return nullptr;
    bool surface = false;
    for (GameObject* p = &object; p && !surface; p = p->parent()) {
        if (p == &object || (p->isView() && static_cast<ViewObject*>(p)->isCharacter())) {
            surface = p->ownSurface() != nullptr;
        }
    }
    if (!surface) return nullptr;
    auto inside = [](double v, double extent) { return extent >= 0 ? (v >= 0 && v < extent) : (v >= extent && v < 0); };
    if (!inside(x, object.width()) || !inside(y, object.height())) return nullptr;
    if (object.isTransparentAt(x, y)) return nullptr;
    const auto& children = object.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (ViewObject* hit = hitTest(**it, x - (*it)->x(), y - (*it)->y())) return hit;
    }
    if (object.isView() && object.isShown()) return static_cast<ViewObject*>(&object);
    return nullptr;
}

namespace {
// Every descendant view object, depth first, children in child order.
void forEachDescendantView(GameObject& object, const std::function<void(ViewObject&)>& fn) {
    const std::vector<GameObject*> children = object.children();
    for (GameObject* child : children) {
        if (child->isView()) fn(*static_cast<ViewObject*>(child));
        forEachDescendantView(*child, fn);
    }
}
}  // namespace

void ViewObject::dispatchInput(const InputEvent& event) {
    ViewObject* handler = hitTest(*this, event.x, event.y);
    if (!handler) handler = this;
    InputEvent local = event;
    local.x = event.x - (handler->absoluteX() - absoluteX());
    local.y = event.y - (handler->absoluteY() - absoluteY());
    using namespace Arbor::Platform;
    switch (event.kind) {
    case InputEvent::CursorEntered:
        handler->onCursorEnter(*this, local);
        break;
    case InputEvent::ButtonDown:
        if (event.message == WM_LBUTTONDOWN || event.message == WM_LBUTTONDBLCLK) {
            handler->onLeftButtonDown(*this, local);
        } else if (event.message == WM_RBUTTONDOWN || event.message == WM_RBUTTONDBLCLK) {
            handler->onRightButtonDown(*this, local);
        }
        break;
    case InputEvent::ButtonUp:
        if (event.message == WM_LBUTTONUP) {
            handler->onLeftButtonUp(*this, local);
        } else if (event.message == WM_RBUTTONUP) {
            handler->onRightButtonUp(*this, local);
        }
        break;
    case InputEvent::MenuItem:
        onMenuItem(*this, event);
        forEachDescendantView(*this, [&](ViewObject& view) { view.onMenuItem(*this, event); });
        break;
    case InputEvent::MenuPopup:
        handler->onMenuPopup(*this, local);
        break;
    default:
        break;
    }
}

void ViewObject::onCursorEnter(ViewObject&, const InputEvent&) {}
void ViewObject::onMenuItem(ViewObject&, const InputEvent&) {}
void ViewObject::onMenuPopup(ViewObject&, const InputEvent&) {}
void ViewObject::onLeftButtonDown(ViewObject&, const InputEvent&) {}
void ViewObject::onRightButtonDown(ViewObject&, const InputEvent&) {}
void ViewObject::onLeftButtonUp(ViewObject&, const InputEvent&) {}
void ViewObject::onRightButtonUp(ViewObject&, const InputEvent&) {}
void ViewObject::showMenuRequest(ViewObject&, const MenuRequest&, int, int) {}

// --- application messages ------------------------------------------------------------------

void ViewObject::postCursor(std::shared_ptr<const Arbor::Platform::NativeCursor> cursor) {
    ViewObject* target = windowOwner();
    if (!target || !target->widget_ || !target->widget_->window().hasWindow()) return;
    {
        std::lock_guard guard(target->postLock_);
        target->cursorToSet_ = cursor;
    }
    Arbor::Platform::messageQueueService().postMessage(target->widget_->window().handle(), kCursorMessage,
                                                        reinterpret_cast<std::uintptr_t>(cursor.get()), 0);
}

void ViewObject::postMenuRequest(const std::u16string& menuName, double desktopX, double desktopY) {
    ViewObject* target = windowOwner();
    if (!target || !target->widget_ || !target->widget_->window().hasWindow()) return;
    {
        std::lock_guard guard(target->postLock_);
        target->menuRequests_.push_back(MenuRequest{this, menuName});
    }
    const DesktopObject& desktop = DesktopObject::instance();
    const int x = static_cast<int>(std::lround(desktopX)) + desktop.originX();
    const int y = static_cast<int>(std::lround(desktopY)) + desktop.originY();
    Arbor::Platform::messageQueueService().postMessage(target->widget_->window().handle(), kMenuRequestMessage, 0,
                                                        Arbor::Platform::makePointParam(x, y));
}

std::shared_ptr<const Arbor::Platform::NativeCursor> ViewObject::cursor() const {
    std::lock_guard guard(postLock_);
    return cursor_;
}

void ViewObject::onAppMessage(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage& message) {
    if (message.message == kMenuRequestMessage) {
        MenuRequest request;
        {
            std::lock_guard guard(postLock_);
            if (menuRequests_.empty()) return;
            request = std::move(menuRequests_.front());
            menuRequests_.pop_front();
        }
        ViewObject* object = request.object ? request.object : this;
        object->showMenuRequest(*this, request, Arbor::Platform::pointParamX(message.lParam),
                                Arbor::Platform::pointParamY(message.lParam));
    } else if (message.message == kCursorMessage) {
        std::shared_ptr<const Arbor::Platform::NativeCursor> cursor;
        {
            std::lock_guard guard(postLock_);
            cursor = cursorToSet_;
            cursor_ = cursor;
        }
        windowService().setCursor(cursor.get());
    }
}

// --- listeners (user-interface thread) ------------------------------------------------------

namespace {
// The cursor position in the window's coordinates.
void cursorInWindow(Arbor::Gui::Widget& sender, InputEvent& event) {
    const Arbor::Platform::Point cursor = Arbor::Platform::screenService().cursorPosition();
    const auto bounds = windowService().bounds(sender.window().handle());
    event.x = cursor.x - (bounds ? bounds->left : 0);
    event.y = cursor.y - (bounds ? bounds->top : 0);
}
InputEvent eventOf(int kind, Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) {
    InputEvent event;
    event.kind = kind;
    event.widget = &sender;
    event.message = message.message;
    event.wParam = message.wParam;
    event.lParam = message.lParam;
    return event;
}
}  // namespace

void ViewObject::onCursorEnter(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) {
    InputEvent event = eventOf(InputEvent::CursorEntered, sender, message);
    cursorInWindow(sender, event);
    queueInput(event);
}

void ViewObject::onResolutionChange(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage&) { DisplayChange::signal(); }

void ViewObject::onMenuItem(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) {
    queueInput(eventOf(InputEvent::MenuItem, sender, message));
}

void ViewObject::onMouseDown(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) {
    InputEvent event = eventOf(InputEvent::ButtonDown, sender, message);
    event.x = Arbor::Platform::pointParamX(message.lParam);
    event.y = Arbor::Platform::pointParamY(message.lParam);
    queueInput(event);
}

void ViewObject::onMouseUp(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) {
    InputEvent event = eventOf(InputEvent::ButtonUp, sender, message);
    event.x = Arbor::Platform::pointParamX(message.lParam);
    event.y = Arbor::Platform::pointParamY(message.lParam);
    queueInput(event);
}

void ViewObject::onMouseDoubleClick(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) {
    onMouseDown(sender, message);
}

void ViewObject::onInitMenuPopup(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) {
    InputEvent event = eventOf(InputEvent::MenuPopup, sender, message);
    cursorInWindow(sender, event);
    queueInput(event);
}

}  // namespace Quenta::GameComponent
