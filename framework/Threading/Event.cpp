#include "framework/Threading/Event.h"

#include <chrono>

namespace Arbor::Threading {

Event::Event(bool manualReset, bool initiallySignalled)
    : manualReset_(manualReset), signalled_(initiallySignalled) {}

Event::~Event() = default;

void Event::set() {
    // Notify while still holding the lock: a waiter that returns may destroy the event
    // at once, and it cannot return before this unlocks, so the condition variable is
    // never touched after its owner is gone.
    std::lock_guard lock(mutex_);
    signalled_ = true;
    // An auto-reset event lets one waiter through; a manual one lets all of them.
    if (manualReset_) {
        changed_.notify_all();
    } else {
        changed_.notify_one();
    }
}

void Event::reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool Event::isSignalled() const {
    std::lock_guard lock(mutex_);
    return signalled_;
}

int Event::wait(int milliseconds) {
    std::unique_lock lock(mutex_);
    const auto ready = [this] { return signalled_; };
    if (milliseconds < 0) {
        changed_.wait(lock, ready);
    } else if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), ready)) {
        return TimedOut;
    }
    if (!manualReset_) signalled_ = false;
    return Signalled;
}

}  // namespace Arbor::Threading
