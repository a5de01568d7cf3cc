#include "Source/Common/ProcessThread.h"

#include "Source/GameComponent/CharacterRegistry.h"

namespace Quenta::Common {

ProcessThread::ProcessThread(std::u16string applicationName, std::u16string commandLine,
                             const GameComponent::CharacterObject* character,
                             GameComponent::CharacterCommand completion)
    : applicationName_(std::move(applicationName)),
      commandLine_(std::move(commandLine)),
      character_(character),
      completion_(std::move(completion)) {}

ProcessThread::~ProcessThread() { stopAndJoin(); }

std::uint32_t ProcessThread::processId() const {
    std::lock_guard guard(lock_);
    return process_.id;
}

bool ProcessThread::launch() {
    finished_ = false;
    if (start()) return true;
    finished_ = true;
    return false;
}

void ProcessThread::run() {
    struct Done {
        std::atomic<bool>& flag;
        ~Done() { flag = true; }
    } done{finished_};
    Arbor::Platform::ProcessService& processes = Arbor::Platform::processService();
    Arbor::Platform::ProcessHandle process;
    if (!processes.createProcess(applicationName_, commandLine_, process)) return;
    {
        std::lock_guard guard(lock_);
        process_ = process;
    }
    // Waits in slices so that a stop request (the exit giving up on a program that
    // ignores its close request) can end the wait; the program itself keeps running.
    bool ended = false;
    while (keepRunning()) {
        const int result = processes.waitForProcess(process, 50);
        if (result == Arbor::Platform::ProcessService::Ended) {
            ended = true;
            break;
        }
        if (result == Arbor::Platform::ProcessService::Failed) break;
    }
    processes.closeProcess(process);
    if (ended && !completion_.empty()) {
        GameComponent::CharacterRegistry::instance().postCommandIfRegistered(character_, completion_);
    }
}

}  // namespace Quenta::Common
