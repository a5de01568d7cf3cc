#include "Source/GameComponent/GameObject.h"

#include <algorithm>
#include <cmath>

#include "Source/GameComponent/RestackQueue.h"

namespace Quenta::GameComponent {

GameObject::GameObject() = default;

GameObject::~GameObject() {
    detachFromParent();
    deleteChildren();
    RestackQueue::instance().forget(*this);
}

// The phases walk an index rather than iterators: a phase may add or remove children
// (a script creating an object, a docking), which must not invalidate the walk.
void GameObject::inputPhase() {
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->inputPhase();
}
void GameObject::updatePhase() {
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->updatePhase();
}
void GameObject::motionPhase() {
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->motionPhase();
}
void GameObject::animationPhase() {
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->animationPhase();
}
void GameObject::renderPhase() {
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->renderPhase();
}

void GameObject::adoptScriptThread() {
    for (GameObject* child : children_) child->adoptScriptThread();
}

void GameObject::attachTo(GameObject& parent) {
    // Without a parent nobody owns the object yet: adopt() hands it over first.
    if (parent_ == nullptr) return;
    // Hanging an object under its own subtree would cut the loop off the tree.
    if (parent.isWithin(this)) return;
    auto& siblings = parent.children_;
    std::stable_sort(siblings.begin(), siblings.end(),
                     [](const GameObject* a, const GameObject* b) { return a->zOrder() < b->zOrder(); });
    const double z = zOrder();
    auto before = std::find_if(siblings.begin(), siblings.end(), [&](const GameObject* c) { return c->zOrder() > z; });
    if (before != siblings.end() && *before == this) return;
    // Remember the neighbour, not the iterator: leaving the old list may shift it.
    GameObject* next = before != siblings.end() ? *before : nullptr;
    detachFromParent();
    parent_ = &parent;
    if (next) {
        siblings.insert(std::find(siblings.begin(), siblings.end(), next), this);
    } else {
        siblings.push_back(this);
    }
}

GameObject& GameObject::adopt(std::unique_ptr<GameObject> child) {
    GameObject* raw = child.release();
    if (raw->parent_ == nullptr) {
        // Enter at the end first, so that attachTo finds an owner to move from.
        raw->parent_ = this;
        children_.push_back(raw);
    }
    raw->attachTo(*this);
    return *raw;
}

void GameObject::deleteChildren() {
    while (!children_.empty()) {
        // The child leaves the list itself as it is destroyed.
        delete children_.back();
    }
}

void GameObject::detachFromParent() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    parent_ = nullptr;
}

bool GameObject::isShownInTree() const {
    if (!isShown()) return false;
    return parent_ ? parent_->isShownInTree() : true;
}

void GameObject::setScale(double s) { scale_ = std::max(s, 0.0); }

bool GameObject::nearlyEqual(double a, double b) {
    return std::min(std::fabs(a), std::fabs(b)) >= std::fabs(a - b) * 1e12;
}

bool GameObject::setBounds(double x, double y, double w, double h) {
    const bool same = nearlyEqual(x, x_) && nearlyEqual(y, y_) && nearlyEqual(w, width_) && nearlyEqual(h, height_);
    if (same) return false;
    x_ = x;
    y_ = y;
    width_ = w;
    height_ = h;
    boundsChanged_ = true;
    return true;
}

double GameObject::absoluteX() const { return x() + (parent_ ? parent_->absoluteX() : 0.0); }
double GameObject::absoluteY() const { return y() + (parent_ ? parent_->absoluteY() : 0.0); }

bool GameObject::isWithin(const GameObject* ancestor) const {
    for (const GameObject* p = this; p; p = p->parent_) {
        if (p == ancestor) return true;
    }
    return false;
}

}  // namespace Quenta::GameComponent
