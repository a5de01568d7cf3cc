#include "Source/GameComponent/GameObject.h"

#include <algorithm>

#include "Source/GameComponent/RestackQueue.h"

namespace Quenta::GameComponent {

GameObject::~GameObject() {
    deleteChildren();
    RestackQueue::instance().forget(*this);
}

// The phases walk an index rather than iterators: a phase may add children (a script
// creating an object), which must not invalidate the walk.
void GameObject::inputPhase() {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->inputPhase();
}
void GameObject::updatePhase() {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->updatePhase();
}
void GameObject::motionPhase() {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->motionPhase();
}
void GameObject::animationPhase() {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->animationPhase();
}
void GameObject::renderPhase() {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->renderPhase();
}

void GameObject::adoptScriptThread() {
    for (const auto& child : children_) child->adoptScriptThread();
}

GameObject& GameObject::addChild(std::unique_ptr<GameObject> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
    return *children_.back();
}

std::unique_ptr<GameObject> GameObject::releaseChild(GameObject& child) {
    auto it = std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c.get() == &child; });
    if (it == children_.end()) return nullptr;
    std::unique_ptr<GameObject> owned = std::move(*it);
    children_.erase(it);
    owned->parent_ = nullptr;
    return owned;
}

void GameObject::attachTo(GameObject& parent) {
    if (parent_ == &parent || parent_ == nullptr) return;
    // Refuse to hang an object under its own subtree: that would orphan the loop.
    for (const GameObject* p = &parent; p != nullptr; p = p->parent_) {
        if (p == this) return;
    }
    std::unique_ptr<GameObject> self = parent_->releaseChild(*this);
    if (self) parent.addChild(std::move(self));
}

void GameObject::deleteChildren() {
    while (!children_.empty()) {
        std::unique_ptr<GameObject> last = std::move(children_.back());
        children_.pop_back();
        last.reset();
    }
}

}  // namespace Quenta::GameComponent
