#pragma once
// The programs that scripts launched. One instance lives from before start-up to the
// exit sequence, whose deletion of it closes every program still running.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Source/Common/ProcessThread.h"

namespace Quenta::Common {

class ProcessManager {
public:
    // How long close-all waits for programs to end after asking them to close.
    static constexpr int closeAllTimeoutMilliseconds = 10000;

    ProcessManager();
    // Close-all.
    ~ProcessManager();
    ProcessManager(const ProcessManager&) = delete;
    ProcessManager& operator=(const ProcessManager&) = delete;

    // The live instance, or null before start-up and after the exit sequence.
    static ProcessManager* current();

    // Starts the program on its own thread; the completion command goes to the
    // character's command queue when the program ends.
    std::shared_ptr<ProcessThread> launch(std::u16string applicationName, std::u16string commandLine,
                                          const GameComponent::CharacterObject* character,
                                          GameComponent::CharacterCommand completion);

    // Raises the first window of every running program to the front without moving,
    // sizing or keeping it topmost, and shows it.
    void bringToFront();

    // Asks every running program to close (a close message to its first window) and
    // waits for them to end. Returns false when some were still running at the time
    // limit; their watch threads are then stopped and the programs left running.
    bool closeAll() { return closeAll(closeAllTimeoutMilliseconds); }
    bool closeAll(int timeoutMilliseconds);

    size_t runningCount();

private:
    void removeFinishedLocked();

    std::mutex lock_;
    std::vector<std::shared_ptr<ProcessThread>> threads_;
};

}  // namespace Quenta::Common
