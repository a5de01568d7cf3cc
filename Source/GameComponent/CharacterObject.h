#pragma once
// One character on the desktop, reduced to what the application shell drives: it is
// registered while it exists, starts, takes commands through a locked queue, and
// winds down through the life states 0 running, 1 termination requested,
// 2 terminating, 3 terminated.
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "Source/GameComponent/CharacterCommand.h"
#include "Source/GameComponent/GameObject.h"

namespace Quenta::GameComponent {

enum class LifeState : int { Running = 0, TerminationRequested = 1, Terminating = 2, Terminated = 3 };

class CharacterObject : public GameObject {
public:
    // Runs one command in the character's context; the interpreter supplies the real
    // one. Without an executor the commands are dropped.
    using CommandExecutor = std::function<void(CharacterObject&, const CharacterCommand&)>;

    explicit CharacterObject(std::u16string name);
    ~CharacterObject() override;

    std::u16string className() const override { return u"CharacterObject"; }
    const std::u16string& name() const { return name_; }

    virtual void start();
    bool isStarted() const { return started_; }

    // Asks the character to wind down; it reaches "terminated" over the next frames.
    virtual void terminate();
    LifeState lifeState() const { return lifeState_.load(); }

    // Safe from any thread (launched-program threads deliver completions here).
    void postCommand(CharacterCommand command);

    void setCommandExecutor(CommandExecutor executor) { executor_ = std::move(executor); }

    void inputPhase() override;

protected:
    virtual void beginTermination();
    virtual void runExitOrder();
    void finishTermination();

private:
    std::u16string name_;
    bool started_ = false;
    std::atomic<LifeState> lifeState_{LifeState::Running};
    std::mutex commandLock_;
    std::deque<CharacterCommand> commands_;
    CommandExecutor executor_;
};

}  // namespace Quenta::GameComponent
