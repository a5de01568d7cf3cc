#pragma once
// Window-stacking requests queued by any thread (z-order changes, re-parenting,
// docking) and applied by the frame thread in its restack step, in the order queued.
//
// The lock guards the list only: apply() takes the queued requests out under it and
// calls attachTo with it released, because attachTo is virtual and a view object's
// restack may send a message to the user-interface thread, whose handlers may queue
// further requests. Those land in the next frame's list.
#include <cstddef>
#include <mutex>
#include <vector>

namespace Quenta::GameComponent {

class GameObject;

class RestackQueue {
public:
    static RestackQueue& instance();

    // Queues: attach `object` to `parent` at the next restack step.
    void push(GameObject& parent, GameObject& object);

    // Applies every request queued before the call, in order, and empties the queue.
    // Frame thread only.
    void apply();

    // Drops requests that name an object about to be deleted, including those of a
    // restack step under way that have not been applied yet.
    void forget(const GameObject& object);

    // Requests waiting for the next restack step.
    std::size_t size() const;

private:
    struct Request {
        GameObject* parent = nullptr;
        GameObject* object = nullptr;
        bool names(const GameObject& o) const { return parent == &o || object == &o; }
    };

    mutable std::mutex lock_;
    std::vector<Request> requests_;
    // The requests of the restack step under way (null outside apply), so that
    // forget() can strike out an object deleted by an earlier request's attachTo.
    std::vector<Request>* applying_ = nullptr;
};

}  // namespace Quenta::GameComponent
