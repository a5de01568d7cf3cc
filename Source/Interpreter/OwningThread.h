#pragma once
// The one thread allowed to use an object that is not thread-safe (a Parser with its
// variables, and through it the token caches of the lines it runs). The thread that
// builds the object owns it; another thread takes it over explicitly with adopt(),
// as the frame thread does for every character when it starts. Debug builds check the
// caller at each use; release builds keep the record but skip the check.
#include <atomic>
#include <thread>

namespace Quenta::Interpreter {

class OwningThread {
public:
    OwningThread() : id_(std::this_thread::get_id()) {}

    // The calling thread becomes the owner.
    void adopt() { id_.store(std::this_thread::get_id(), std::memory_order_release); }
    bool isCurrent() const { return id_.load(std::memory_order_acquire) == std::this_thread::get_id(); }

    // Debug builds end the program when another thread uses the object.
    void check() const {
#ifndef NDEBUG
        if (!isCurrent()) failCheck();
#endif
    }

private:
    [[noreturn]] static void failCheck();

    std::atomic<std::thread::id> id_;
};

}  // namespace Quenta::Interpreter
