#include "framework/Threading/Thread.h"

#include <system_error>

namespace Arbor::Threading {

Thread::Thread() = default;

Thread::~Thread() { stopAndJoin(); }

bool Thread::start(std::function<void()> callable) {
    callable_ = std::move(callable);
    return start();
}

bool Thread::start() {
    stopAndJoin();
    std::lock_guard lock(handleMutex_);
    keepRunning_ = true;
    // Reset before the thread exists: a stop the new thread requests of itself at once
    // must not be wiped out by a reset that comes after it.
    stopEvent_.reset();
    try {
        thread_ = std::thread([this] { entry(); });
    } catch (const std::system_error&) {
        keepRunning_ = false;
        return false;
    }
    return true;
}

void Thread::stopAndJoin() {
    requestStop();
    std::lock_guard lock(handleMutex_);
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id()) {
            // Joining oneself would deadlock; the thread ends on its own after this call.
            thread_.detach();
        } else {
            thread_.join();
        }
    }
}

void Thread::runHere() {
    stopEvent_.reset();
    keepRunning_ = true;
    run();
    keepRunning_ = false;
}

bool Thread::isExecuting() const { return executing_.load(); }

bool Thread::keepRunning() const { return keepRunning_.load(); }

void Thread::requestStop() {
    keepRunning_ = false;
    stopEvent_.set();
}

int Thread::wait(int milliseconds) { return stopEvent_.wait(milliseconds); }

std::thread::id Thread::threadId() const { return thread_.get_id(); }

void Thread::entry() {
    executing_ = true;
    if (callable_) {
        callable_();
    } else {
        run();
    }
    executing_ = false;
}

}  // namespace Arbor::Threading
