#include "Source/Common/RestackQueue.h"

#include <algorithm>

#include "Source/GameComponent/GameObject.h"

namespace Quenta::Common {

RestackQueue& RestackQueue::instance() {
    // Never destroyed: scene objects that outlive main() still unregister here.
    static RestackQueue* queue = new RestackQueue;
    return *queue;
}

void RestackQueue::push(GameComponent::GameObject& parent, GameComponent::GameObject& object) {
    std::lock_guard guard(lock_);
    requests_.emplace_back(&parent, &object);
}

void RestackQueue::apply() {
    // The lock is held for the whole step, as the queue's contract says; attachTo only
    // moves objects in the tree and never queues further requests here.
    std::lock_guard guard(lock_);
    for (auto& [parent, object] : requests_) object->attachTo(*parent);
    requests_.clear();
}

void RestackQueue::forget(const GameComponent::GameObject& object) {
    std::lock_guard guard(lock_);
    requests_.erase(std::remove_if(requests_.begin(), requests_.end(),
                                   [&](const auto& r) { return r.first == &object || r.second == &object; }),
                    requests_.end());
}

size_t RestackQueue::size() const {
    std::lock_guard guard(lock_);
    return requests_.size();
}

}  // namespace Quenta::Common
