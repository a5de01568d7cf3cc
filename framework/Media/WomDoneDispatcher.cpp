#include "framework/Media/WomDoneDispatcher.h"

namespace Arbor::Media {

WomDoneDispatcher& WomDoneDispatcher::instance() {
    // Deliberately never destroyed: players may be released during static
    // destruction, and their detach must still find a live dispatcher.
    static WomDoneDispatcher* dispatcher = new WomDoneDispatcher;
    return *dispatcher;
}

WomDoneDispatcher::WomDoneDispatcher() {
    thread_ = std::thread([this] { run(); });
    worker_ = thread_.get_id();
    thread_.detach();
}

std::uint64_t WomDoneDispatcher::attach(WomDoneTarget* target) {
    std::lock_guard<std::mutex> guard(lock_);
    const std::uint64_t id = nextId_++;
    targets_[id] = target;
    return id;
}

void WomDoneDispatcher::detach(std::uint64_t id) {
    std::unique_lock<std::mutex> guard(lock_);
    targets_.erase(id);
    if (std::this_thread::get_id() == worker_) return;
    handled_.wait(guard, [&] { return running_ != id; });
}

void WomDoneDispatcher::post(std::uint64_t id, unsigned message, int buffer, std::uint32_t tag) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        queue_.push_back(Notice{id, message, buffer, tag, ++posted_});
    }
    wake_.notify_one();
}

void WomDoneDispatcher::flush() {
    std::unique_lock<std::mutex> guard(lock_);
    if (std::this_thread::get_id() == worker_) return;
    const std::uint64_t target = posted_;
    handled_.wait(guard, [&] { return done_ >= target; });
}

void WomDoneDispatcher::run() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        wake_.wait(guard, [&] { return !queue_.empty(); });
        const Notice notice = queue_.front();
        queue_.pop_front();
        auto it = targets_.find(notice.id);
        if (it != targets_.end() && notice.message == Platform::MM_WOM_DONE) {
            WomDoneTarget* target = it->second;
            running_ = notice.id;
            guard.unlock();
            target->onWomDone(notice.buffer, notice.tag);
            guard.lock();
            running_ = 0;
        }
        done_ = notice.sequence;
        handled_.notify_all();
    }
}

}  // namespace Arbor::Media
