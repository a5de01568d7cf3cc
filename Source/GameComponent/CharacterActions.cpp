// What scripts do to a character: position, docking, visibility, stacking, sounds,
// and the registry walk the scene built-ins use.
#include "Source/GameComponent/CharacterBalloons.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/ImageLayerObject.h"
#include "Source/GameComponent/OrderObject.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "framework/Graphics/ImageResource.h"
#include "framework/Media/Audio.h"
#include "framework/Media/SoundResource.h"
#include "framework/Secure/ResourceCache.h"

namespace Quenta::GameComponent {

// --- settings passed on to the balloons ----------------------------------------------------

void CharacterObject::setScale(double s) {
    ViewObject::setScale(s);
    if (balloons_) balloons_->setScale(ViewObject::scale());
}

void CharacterObject::setZOrder(double z) {
    ViewObject::setZOrder(z);
    if (balloons_) balloons_->setZOrder(z);
}

void CharacterObject::setAlpha(double a) {
    ViewObject::setAlpha(a);
    if (balloons_) balloons_->setAlpha(ViewObject::alpha());
}

void CharacterObject::setNoActivate(bool on) {
    ViewObject::setNoActivate(on);
    if (balloons_) balloons_->setNoActivate(on);
}

void CharacterObject::requestRestack() {
    ViewObject::requestRestack();
    if (balloons_) balloons_->requestRestack();
    if (const auto& bring = SceneEnvironment::current().bringProgramsToFront) bring();
}

void CharacterObject::setTopmost() {
    ViewObject::setTopmost();
    if (balloons_) balloons_->setTopmost(true);
}

void CharacterObject::clearTopmost() {
    ViewObject::clearTopmost();
    if (balloons_) balloons_->setTopmost(false);
}

// --- position -----------------------------------------------------------------------------------

void CharacterObject::setBaseX(double x) { order_->setBaseX(x); }
void CharacterObject::setBaseY(double y) { order_->setBaseY(y); }
void CharacterObject::setBasePosition(double x, double y) { order_->setBasePosition(x, y); }
double CharacterObject::baseX() const { return order_->baseX(); }
double CharacterObject::baseY() const { return order_->baseY(); }
double CharacterObject::basePosX() const { return order_->hasOrder() ? order_->basePosX() : 0.0; }
double CharacterObject::basePosY() const { return order_->hasOrder() ? order_->basePosY() : 0.0; }
int CharacterObject::frameNumber() const { return order_->hasOrder() ? order_->frameNumber() : 0; }

void CharacterObject::setFrameNumber(int n) {
    if (order_->hasOrder()) order_->setFrameNumber(n);
}

void CharacterObject::dockTo(GameObject& newParent) {
    // Under itself the character would drop out of the tree.
    if (newParent.isWithin(this)) return;
    RestackQueue::instance().push(newParent, *this);
    if (balloons_) balloons_->dockTo(newParent);
    pendingParent_ = &newParent;
    // The character keeps its place on the screen under the new parent.
    const double s = scale();
    if (s > 0.0) {
        setBasePosition((absoluteX() - newParent.absoluteX()) / s + basePosX(),
                        (absoluteY() - newParent.absoluteY()) / s + basePosY());
    }
}

bool CharacterObject::dockTo(std::u16string_view objectId) {
    CharacterObject* other = CharacterRegistry::instance().findByObjectId(objectId);
    if (other && other != this) {
        dockTo(*other);
        return true;
    }
    // The desktop this character lives under (its own tree's root).
    GameObject* root = this;
    while (root->parent()) root = root->parent();
    dockTo(root == this ? static_cast<GameObject&>(DesktopObject::instance()) : *root);
    return false;
}

void CharacterObject::backIntoDesktop() {
    auto* desktop = dynamic_cast<DesktopObject*>(parent());
    if (!desktop) return;
    double left = x();
    double top = y();
    const double w = width();
    const double h = height();
    if (left <= 0.0) left = 0.0;
    if (top <= 0.0) top = 0.0;
    if (left + w >= desktop->width()) left = desktop->width() - w;
    if (top + h >= desktop->height()) top = desktop->height() - h;
    const double s = scale();
    if (s > 0.0) setBasePosition(left / s + basePosX(), top / s + basePosY());
}

std::u16string CharacterObject::parentObjectId() const {
    const GameObject* p = parent();
    if (p && p->isView() && static_cast<const ViewObject*>(p)->isCharacter()) {
        return static_cast<const CharacterObject*>(p)->configuration_.objectId;
    }
    return {};
}

// --- visibility and sound -------------------------------------------------------------------------

void CharacterObject::showCharacter() {
    active_ = true;
    setShown();
    if (balloons_) balloons_->show();
    restackCounter_ = 2;
    requestRedraw();
}

void CharacterObject::hideCharacter() {
    active_ = false;
    setHidden();
    if (balloons_) balloons_->hide();
}

void CharacterObject::muteSounds() {
    muted_ = true;
    soundPlayer_->stop();
    soundPlayer_->disable();
    order_->setSoundsMuted(true);
    if (balloons_) balloons_->setMuted(true);
}

void CharacterObject::unmuteSounds() {
    muted_ = false;
    soundPlayer_->enable();
    order_->setSoundsMuted(false);
    if (balloons_) balloons_->setMuted(false);
}

bool CharacterObject::playOneShot(std::u16string_view soundName) {
    auto sound = Arbor::Media::cachedSound(*cache_, soundName);
    if (!sound) return false;
    return soundPlayer_->play(sound.get());
}

bool CharacterObject::loadImage(std::u16string_view name) {
    return Arbor::Graphics::cachedImage(*cache_, name) != nullptr;
}

bool CharacterObject::loadFontFile(std::u16string_view name) { return cache_->loadFont(name) != nullptr; }

bool CharacterObject::rotateImage(std::u16string_view layerName, double centreX, double centreY, double angle) {
    ScriptObject* object = namedObject(layerName);
    if (!object || object->registerKind() != ScriptObject::ImageLayer) return false;
    static_cast<ImageLayerObject*>(object)->rotate(centreX, centreY, angle);
    return true;
}

// --- SceneCharacter ---------------------------------------------------------------------------------

void CharacterObject::forEachCharacter(const std::function<void(Interpreter::SceneCharacter&)>& fn) {
    for (CharacterObject* c : CharacterRegistry::instance().snapshot()) fn(*c);
}

Interpreter::SceneCharacter* CharacterObject::findCharacter(std::u16string_view objectId) {
    return CharacterRegistry::instance().findByObjectId(objectId);
}

void CharacterObject::postEvent(std::u16string orderName, int dragMode, std::u16string soundName,
                                Interpreter::TokenBlock code) {
    OrderRequest request;
    request.orderName = std::move(orderName);
    request.priority = 8;
    request.dragMode = dragMode;
    request.soundName = std::move(soundName);
    request.code = std::move(code);
    requestOrder(std::move(request));
}

}  // namespace Quenta::GameComponent
