#pragma once
// One program launched by a script: this thread starts it, waits for it to end and
// then hands the completion command to the character that launched it, if that
// character still exists. A program that cannot be started yields nothing.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "Source/GameComponent/CharacterCommand.h"
#include "framework/Platform/Process.h"
#include "framework/Threading/Thread.h"

namespace Quenta::GameComponent {
class CharacterObject;
}

namespace Quenta::Common {

class ProcessThread : public Arbor::Threading::Thread {
public:
    // The character is only compared against the registry, never used directly, so
    // it may be gone by the time the program ends.
    ProcessThread(std::u16string applicationName, std::u16string commandLine,
                  const GameComponent::CharacterObject* character, GameComponent::CharacterCommand completion);
    ~ProcessThread() override;

    // The launched program's process id; 0 before it started or when it could not start.
    std::uint32_t processId() const;
    // True once the work has ended. Set by the work itself rather than read from the
    // thread's executing flag, which is still clear in the moment before a new thread
    // runs.
    bool isFinished() const { return finished_.load(); }

    // Starts the thread; a thread that cannot be started counts as finished.
    bool launch();

    void run() override;

private:
    const std::u16string applicationName_;
    const std::u16string commandLine_;
    const GameComponent::CharacterObject* const character_;
    const GameComponent::CharacterCommand completion_;
    mutable std::mutex lock_;
    Arbor::Platform::ProcessHandle process_;
    std::atomic<bool> finished_{false};
};

}  // namespace Quenta::Common
