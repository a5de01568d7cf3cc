#pragma once
// The base of the scene tree: identity (one pool of 20000 ids for the whole scene,
// -1 when all are taken), parent and children, bounds, scale, z-order, visibility and
// the five per-frame phases the frame loop calls on the desktop.
//
// Ownership: a parent owns its children and deletes them when it is deleted. The
// child list itself is kept in ascending z-order (equal z keep the order they were
// attached in), which is the order every phase walks. An object that is deleted by
// someone else first leaves its parent's list, so no link ever dangles.
//
// Everything here is frame-thread state, except during start-up (before the frame
// thread runs) and in tests that drive frames on one thread.
#include <memory>
#include <string>
#include <vector>

#include "framework/Gui/BaseObject.h"

namespace Arbor::Graphics {
class PaintDevice;
}

namespace Quenta::GameComponent {

class GameObject : public Arbor::Gui::base_object<GameObject> {
public:
    GameObject();
    // Leaves the parent, deletes every child, releases the id.
    ~GameObject() override;

    virtual std::u16string className() const { return u"GameObject"; }

    // The scene id: the lowest free number in 0 .. 19999, or -1 when all are taken.
    int objectId() const { return id(); }

    // --- frame phases: each calls the same phase of every child, in child order -----
    virtual void inputPhase();
    virtual void updatePhase();
    virtual void motionPhase();
    virtual void animationPhase();
    virtual void renderPhase();

    // Puts this object into `parent`'s child list at the place its z-order gives: the
    // list is sorted (stable) by z, and the object goes before the first child whose
    // z is strictly greater, else at the end. Moving the object under its own subtree
    // is refused. An object without a parent must be handed over with adopt() first
    // (ownership), so attachTo on it is refused too.
    virtual void attachTo(GameObject& parent);

    // Takes ownership of `child` and attaches it (attachTo). Returns the child.
    GameObject& adopt(std::unique_ptr<GameObject> child);
    template <class T>
    T& adopt(std::unique_ptr<T> child) {
        T* raw = child.get();
        adopt(std::unique_ptr<GameObject>(std::move(child)));
        return *raw;
    }
    // Deletes every child (last first).
    void deleteChildren();

    // The image of the object's own window, or null.
    virtual Arbor::Graphics::PaintDevice* ownSurface() { return nullptr; }
    virtual bool isView() const { return false; }
    // True when a point (relative to the top-left corner) lets clicks through. A plain
    // object is never hit itself; characters and balloons answer from their pixels.
    virtual bool isTransparentAt(double, double) const { return true; }

    virtual void setShown() { shown_ = true; }
    virtual void setHidden() { shown_ = false; }
    virtual bool isShown() const { return shown_; }
    // False if this or any ancestor is hidden.
    virtual bool isShownInTree() const;

    virtual double scale() const { return scale_; }
    // Negative values are stored as 0.
    virtual void setScale(double s);
    virtual double zOrder() const { return zOrder_; }
    virtual void setZOrder(double z) { zOrder_ = z; }

    virtual double x() const { return x_; }
    virtual double y() const { return y_; }
    virtual double width() const { return width_; }
    virtual double height() const { return height_; }
    virtual bool setX(double x) { return setBounds(x, y_, width_, height_); }
    virtual bool setY(double y) { return setBounds(x_, y, width_, height_); }
    virtual bool setWidth(double w) { return setBounds(x_, y_, w, height_); }
    virtual bool setHeight(double h) { return setBounds(x_, y_, width_, h); }
    virtual bool setPosition(double x, double y) { return setBounds(x, y, width_, height_); }
    virtual bool setSize(double w, double h) { return setBounds(x_, y_, w, h); }
    // Stores the bounds; sets "bounds changed" when a component differs by more than
    // one part in 10^12. Reports whether anything changed.
    virtual bool setBounds(double x, double y, double w, double h);

    bool boundsChanged() const { return boundsChanged_; }
    void clearBoundsChanged() { boundsChanged_ = false; }

    // Position on the desktop: own x, y plus the parent's absolute position.
    double absoluteX() const;
    double absoluteY() const;

    GameObject* parent() const { return parent_; }
    const std::vector<GameObject*>& children() const { return children_; }
    // Whether `ancestor` is this object or one of its ancestors.
    bool isWithin(const GameObject* ancestor) const;

    // Hands whatever this object runs scripts with to the calling thread, then does
    // the same for its children. The frame thread calls it on the desktop when it
    // starts; an object with a Parser adopts it and calls this base.
    virtual void adoptScriptThread();

    // Two doubles count as equal when min(|a|, |b|) >= |a - b| * 10^12.
    static bool nearlyEqual(double a, double b);

protected:
    // Leaves the parent's child list (no deletion); the parent becomes none.
    void detachFromParent();

private:
    GameObject* parent_ = nullptr;
    std::vector<GameObject*> children_;
    double x_ = 0.0;
    double y_ = 0.0;
    double width_ = 0.0;
    double height_ = 0.0;
    double scale_ = 1.0;
    double zOrder_ = 0.0;
    bool shown_ = false;
    bool boundsChanged_ = false;
};

}  // namespace Quenta::GameComponent
