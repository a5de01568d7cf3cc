#include "Source/Common/MainThread.h"

#include "Source/Application/ApplicationState.h"
#include "Source/Common/DisplayChange.h"
#include "Source/Common/FramePacer.h"
#include "Source/Common/RestackQueue.h"
#include "Source/Common/SystemVariables.h"
#include "Source/Common/UserInput.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/DesktopObject.h"

namespace Quenta::Common {

MainThread::MainThread(FrameEnvironment& environment, Application::ApplicationState& state,
                       GameComponent::DesktopObject& desktop)
    : environment_(environment), state_(state), desktop_(desktop) {}

MainThread::~MainThread() {
    // run() uses this object's members: stop before they go.
    stopAndJoin();
}

void MainThread::runFrame() {
    UserInput::set(environment_.takeRecognizedText());

    publishSystemVariables(DisplayChange::take());

    desktop_.inputPhase();
    desktop_.updatePhase();
    RestackQueue::instance().apply();
    desktop_.motionPhase();
    desktop_.animationPhase();
    desktop_.renderPhase();

    const std::uint64_t done = framesRun_.fetch_add(1) + 1;
    if (frameLimit_ && done >= *frameLimit_) state_.beginQuitting();
}

void MainThread::publishSystemVariables(bool desktopChanged) {
    if (desktopChanged) {
        const DesktopGeometry g = environment_.desktopGeometry();
        SystemVariables::instance().publishDesktop(g.width, g.height);
        desktop_.setBounds(GameComponent::DesktopBounds{g.originX, g.originY, g.width, g.height});
    }
    // Desktop coordinates count from the virtual screen's corner.
    const Arbor::Platform::Point cursor = environment_.cursorPosition();
    const GameComponent::DesktopBounds origin = desktop_.bounds();
    SystemVariables::instance().publishCursor(cursor.x - origin.x, cursor.y - origin.y);
}

void MainThread::checkQuit() {
    if (!state_.isQuitting() || !GameComponent::CharacterRegistry::instance().allTerminated()) return;
    environment_.postQuit(0);
    state_.stopMessageLoop();
    requestStop();
}

void MainThread::run() {
    environment_.beginTimerResolution(timerResolution);
    FramePacer pacer(environment_.tickCount());
    while (keepRunning()) {
        runFrame();
        const std::uint32_t pause = pacer.frameDone(environment_.tickCount());
        // A failed wait counts as a time-out: the loop goes on.
        if (wait(static_cast<int>(pause)) == Arbor::Threading::AbstractEvent::Signalled) break;
        checkQuit();
    }
    environment_.endTimerResolution(timerResolution);
}

}  // namespace Quenta::Common
