#include "Source/Common/ProcessManager.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"

namespace Quenta::Common {

namespace {
std::atomic<ProcessManager*> currentManager{nullptr};
}  // namespace

ProcessManager::ProcessManager() { currentManager.store(this); }

ProcessManager::~ProcessManager() {
    closeAll();
    ProcessManager* self = this;
    currentManager.compare_exchange_strong(self, nullptr);
}

ProcessManager* ProcessManager::current() { return currentManager.load(); }

void ProcessManager::removeFinishedLocked() {
    threads_.erase(std::remove_if(threads_.begin(), threads_.end(),
                                  [](const std::shared_ptr<ProcessThread>& t) { return t->isFinished(); }),
                   threads_.end());
}

std::shared_ptr<ProcessThread> ProcessManager::launch(std::u16string applicationName, std::u16string commandLine,
                                                      const GameComponent::CharacterObject* character,
                                                      GameComponent::CharacterCommand completion) {
    std::lock_guard guard(lock_);
    removeFinishedLocked();
    auto thread = std::make_shared<ProcessThread>(std::move(applicationName), std::move(commandLine), character,
                                                  std::move(completion));
    threads_.push_back(thread);
    thread->launch();
    return thread;
}

void ProcessManager::bringToFront() {
    std::lock_guard guard(lock_);
    removeFinishedLocked();
    Arbor::Platform::WindowService& windows = Arbor::Platform::windowService();
    for (const auto& thread : threads_) {
        const std::uint32_t id = thread->processId();
        if (id == 0) continue;
        Arbor::Platform::WindowHandle window = windows.firstTopLevelWindowOf(id);
        if (window == Arbor::Platform::WindowHandle::None) continue;
        const Arbor::Platform::WindowHandle parent = windows.parent(window);
        if (parent != Arbor::Platform::WindowHandle::None) window = parent;
        windows.setZOrder(window, Arbor::Platform::ZOrder::Topmost);
        windows.setZOrder(window, Arbor::Platform::ZOrder::NoTopmost);
        windows.show(window, true, false);
    }
}

bool ProcessManager::closeAll(int timeoutMilliseconds) {
    std::lock_guard guard(lock_);
    removeFinishedLocked();
    Arbor::Platform::WindowService& windows = Arbor::Platform::windowService();
    for (const auto& thread : threads_) {
        const std::uint32_t id = thread->processId();
        if (id == 0) continue;
        const Arbor::Platform::WindowHandle window = windows.firstTopLevelWindowOf(id);
        if (window != Arbor::Platform::WindowHandle::None) {
            Arbor::Platform::messageQueueService().postMessage(window, Arbor::Platform::WM_CLOSE, 0, 0);
        }
    }
    // The wait is bounded: a program that ignores the close request (or has no window
    // to receive it) must not keep this program from ending. After the limit its watch
    // thread is stopped and the program is left running.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    bool allEnded = true;
    for (;;) {
        removeFinishedLocked();
        if (threads_.empty()) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            allEnded = false;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (const auto& thread : threads_) thread->stopAndJoin();
    threads_.clear();
    return allEnded;
}

size_t ProcessManager::runningCount() {
    std::lock_guard guard(lock_);
    removeFinishedLocked();
    return threads_.size();
}

}  // namespace Quenta::Common
