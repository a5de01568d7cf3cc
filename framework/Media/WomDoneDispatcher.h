#pragma once
// Carries "buffer done" notices (MM_WOM_DONE) out of the audio driver's context.
//
// A wave-out driver reports finished buffers on its own thread, where no wave-out call
// may be made. The notice is only queued there; one process-wide thread takes the
// notices in order and hands each to the player it belongs to, which re-queues its
// buffer from there.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "framework/Platform/Messages.h"

namespace Arbor::Media {

class WomDoneTarget {
public:
    virtual ~WomDoneTarget() = default;
    // Called on the dispatcher thread for every notice of this target.
    virtual void onWomDone(int buffer, std::uint32_t tag) = 0;
};

class WomDoneDispatcher {
public:
    // The process-wide dispatcher (its thread starts on first use and runs until the
    // process ends).
    static WomDoneDispatcher& instance();

    WomDoneDispatcher(const WomDoneDispatcher&) = delete;
    WomDoneDispatcher& operator=(const WomDoneDispatcher&) = delete;

    // Registers a target; notices are posted under the returned id.
    std::uint64_t attach(WomDoneTarget* target);
    // After this returns no notice reaches the target any more: pending ones are
    // dropped and a running one has finished (unless called from that very call).
    void detach(std::uint64_t id);
    // Queues a notice (MM_WOM_DONE; other messages are dropped); safe in the driver's
    // context (takes one short lock, no waits).
    void post(std::uint64_t id, unsigned message, int buffer, std::uint32_t tag);
    // Waits until every notice posted before this call has been handled.
    void flush();

private:
    WomDoneDispatcher();
    ~WomDoneDispatcher() = default;
    void run();

    struct Notice {
        std::uint64_t id;
        unsigned message;
        int buffer;
        std::uint32_t tag;
        std::uint64_t sequence;
    };

    std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable handled_;
    std::deque<Notice> queue_;
    std::map<std::uint64_t, WomDoneTarget*> targets_;
    std::uint64_t nextId_ = 1;
    std::uint64_t posted_ = 0;
    std::uint64_t done_ = 0;
    std::uint64_t running_ = 0;  // id of the target being called, 0 none
    std::thread::id worker_;
    std::thread thread_;
};

}  // namespace Arbor::Media
