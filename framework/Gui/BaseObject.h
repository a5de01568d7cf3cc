#pragma once
// Identity and tree links shared by every object family of the system (`Object` here,
// the scene and word-tree families elsewhere). Each family, one instantiation of the
// template, draws identifiers 0 .. capacity - 1 from its own bitmap: the lowest free one at
// or above a hint, which only ever points at or below the lowest free identifier. When
// every slot is taken the identifier is -1 and the object works without one.
//
// The links are non-owning: who deletes children is up to the family (scene objects
// delete theirs). An object being destroyed leaves its parent's child list, and its
// children forget it as their parent, so no link ever dangles.
#include <algorithm>
#include <bitset>
#include <cstddef>
#include <mutex>
#include <vector>

namespace Arbor::Gui {

template <typename T>
class base_object {
public:
    static constexpr int capacity = 20000;

    base_object(const base_object&) = delete;
    base_object& operator=(const base_object&) = delete;

    int id() const { return id_; }

    T* parentObject() const { return static_cast<T*>(parent_); }
    std::vector<T*> childObjects() const {
        std::vector<T*> children;
        children.reserve(children_.size());
        for (base_object* child : children_) children.push_back(static_cast<T*>(child));
        return children;
    }

    // Moves this object under `parent` (or to no parent), at the end of its child list.
    // Refused (false) when the move would make the object its own ancestor.
    bool setParentObject(T* parent) {
        for (const base_object* up = parent; up; up = up->parent_) {
            if (up == this) return false;
        }
        unlinkFromParent();
        parent_ = parent;
        if (parent_) parent_->children_.push_back(this);
        return true;
    }

    // Live objects of this family; for tests and diagnostics.
    static int liveIdentifiers() {
        std::lock_guard lock(pool().mutex);
        return static_cast<int>(pool().taken.count());
    }

protected:
    base_object() : id_(acquire()) {}
    virtual ~base_object() {
        unlinkFromParent();
        for (base_object* child : children_) child->parent_ = nullptr;
        children_.clear();
        release(id_);
    }

    // Leaves the parent's child list; a no-op without a parent.
    void unlinkFromParent() {
        if (!parent_) return;
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_ = nullptr;
    }

private:
    struct Pool {
        std::mutex mutex;
        std::bitset<capacity> taken;
        int hint = 0;  // every identifier below it is taken
    };
    static Pool& pool() {
        static Pool instance;
        return instance;
    }
    static int acquire() {
        Pool& p = pool();
        std::lock_guard lock(p.mutex);
        for (int i = p.hint; i < capacity; ++i) {
            if (!p.taken.test(static_cast<std::size_t>(i))) {
                p.taken.set(static_cast<std::size_t>(i));
                p.hint = i + 1;
                return i;
            }
        }
        p.hint = capacity;
        return -1;
    }
    static void release(int id) {
        if (id < 0) return;
        Pool& p = pool();
        std::lock_guard lock(p.mutex);
        p.taken.reset(static_cast<std::size_t>(id));
        if (id < p.hint) p.hint = id;
    }
    int id_;
    // Kept as the base type: a downcast is only made for callers, on live objects.
    base_object* parent_ = nullptr;
    std::vector<base_object*> children_;
};

}  // namespace Arbor::Gui
