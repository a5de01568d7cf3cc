#include "Source/GameComponent/CharacterObject.h"

#include "Source/GameComponent/CharacterRegistry.h"

namespace Quenta::GameComponent {

CharacterObject::CharacterObject(std::u16string name) : name_(std::move(name)) {
    CharacterRegistry::instance().add(*this);
}

CharacterObject::~CharacterObject() {
    // Leave the registry first: from then on no other thread can post a command here.
    CharacterRegistry::instance().remove(*this);
}

void CharacterObject::start() { started_ = true; }

void CharacterObject::terminate() {
    LifeState expected = LifeState::Running;
    lifeState_.compare_exchange_strong(expected, LifeState::TerminationRequested);
}

void CharacterObject::postCommand(CharacterCommand command) {
    std::lock_guard guard(commandLock_);
    commands_.push_back(std::move(command));
}

void CharacterObject::inputPhase() {
    if (lifeState() == LifeState::TerminationRequested) beginTermination();
    // Take the queue under the lock and run the commands outside it, so a command may
    // post further commands (they run next frame).
    std::deque<CharacterCommand> pending;
    {
        std::lock_guard guard(commandLock_);
        pending.swap(commands_);
    }
    if (executor_) {
        for (const CharacterCommand& command : pending) executor_(*this, command);
    }
    GameObject::inputPhase();
}

void CharacterObject::beginTermination() {
    lifeState_ = LifeState::Terminating;
    // No exit order can play without a definition: the exit code runs at once.
    runExitOrder();
}

void CharacterObject::runExitOrder() { finishTermination(); }

void CharacterObject::finishTermination() { lifeState_ = LifeState::Terminated; }

}  // namespace Quenta::GameComponent
