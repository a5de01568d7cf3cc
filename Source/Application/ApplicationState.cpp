#include "Source/Application/ApplicationState.h"

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"

namespace Quenta::Application {

ApplicationState& ApplicationState::instance() {
    static ApplicationState state;
    return state;
}

void ApplicationState::beginQuitting() {
    if (quitting_.exchange(true)) return;
    GameComponent::CharacterRegistry::instance().forEach(
        [](GameComponent::CharacterObject& character) { character.terminate(); });
}

void ApplicationState::requestSystemShutdown() {
    systemAction_.store(static_cast<int>(SystemAction::Shutdown));
    beginQuitting();
}

void ApplicationState::requestSystemReboot() {
    systemAction_.store(static_cast<int>(SystemAction::Reboot));
    beginQuitting();
}

void ApplicationState::requestSystemAction(int action) {
    if (action == static_cast<int>(SystemAction::Shutdown)) requestSystemShutdown();
    else if (action == static_cast<int>(SystemAction::Reboot)) requestSystemReboot();
    else beginQuitting();
}

}  // namespace Quenta::Application
