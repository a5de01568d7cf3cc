#pragma once
// Window-stacking requests queued by any thread (z-order changes, re-parenting,
// docking) and applied by the frame thread in its restack step, in the order queued.
#include <mutex>
#include <utility>
#include <vector>

namespace Quenta::GameComponent {
class GameObject;
}

namespace Quenta::Common {

class RestackQueue {
public:
    static RestackQueue& instance();

    // Queues: attach `object` to `parent` at the next restack step.
    void push(GameComponent::GameObject& parent, GameComponent::GameObject& object);

    // Applies every queued request in order and empties the queue.
    void apply();

    // Drops requests that name an object about to be deleted.
    void forget(const GameComponent::GameObject& object);

    size_t size() const;

private:
    mutable std::mutex lock_;
    std::vector<std::pair<GameComponent::GameObject*, GameComponent::GameObject*>> requests_;
};

}  // namespace Quenta::Common
