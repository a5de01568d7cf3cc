#pragma once
// The least of the scene tree that the frame loop needs: a node that owns its
// children and walks them, in child order, in each of the five frame phases.
#include <memory>
#include <string>
#include <vector>

namespace Quenta::GameComponent {

class GameObject {
public:
    GameObject() = default;
    virtual ~GameObject();
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    virtual std::u16string className() const { return u"GameObject"; }

    virtual void inputPhase();
    virtual void updatePhase();
    virtual void motionPhase();
    virtual void animationPhase();
    virtual void renderPhase();

    // Hands whatever this object runs scripts with to the calling thread, then does
    // the same for its children. The frame thread calls it on the desktop when it
    // starts; an object with a Parser adopts it and calls this base.
    virtual void adoptScriptThread();

    // Moves this object under another parent (appended to its children). The object
    // must already belong to a parent, which hands over its ownership.
    virtual void attachTo(GameObject& parent);

    GameObject* parent() const { return parent_; }
    GameObject& addChild(std::unique_ptr<GameObject> child);
    const std::vector<std::unique_ptr<GameObject>>& children() const { return children_; }
    // Deletes every child (and so their subtrees), last first.
    void deleteChildren();

private:
    std::unique_ptr<GameObject> releaseChild(GameObject& child);

    GameObject* parent_ = nullptr;
    std::vector<std::unique_ptr<GameObject>> children_;
};

}  // namespace Quenta::GameComponent
