#include "Source/GameComponent/RestackQueue.h"


#include "Source/GameComponent/GameObject.h"

namespace Quenta::GameComponent {

RestackQueue& RestackQueue::instance() {
    // Never destroyed: scene objects that outlive main() still unregister here.
    static RestackQueue* queue = new RestackQueue;
    return *queue;
}

void RestackQueue::push(GameObject& parent, GameObject& object) {
    std::lock_guard guard(lock_);
    requests_.push_back(Request{&parent, &object});
}

void RestackQueue::apply() {
    std::vector<Request> batch;
    {
        std::lock_guard guard(lock_);
        batch.swap(requests_);
        applying_ = &batch;
    }
    for (std::size_t i = 0;; ++i) {
        Request request;
        {
            // Read each entry under the lock: forget() may have struck it out.
            std::lock_guard guard(lock_);
            if (i >= batch.size()) {
                applying_ = nullptr;
                break;
            }
            request = batch[i];
        }
        if (request.object && request.parent) request.object->attachTo(*request.parent);
    }
}

void RestackQueue::forget(const GameObject& object) {
    std::lock_guard guard(lock_);
    std::erase_if(requests_, [&](const Request& r) { return r.names(object); });
    if (applying_) {
        for (Request& r : *applying_) {
            if (r.names(object)) r = Request{};
        }
    }
}

std::size_t RestackQueue::size() const {
    std::lock_guard guard(lock_);
    return requests_.size();
}

}  // namespace Quenta::GameComponent
