#include "Source/Common/MainThread.h"

#include "Source/Common/FramePacer.h"
#include "Source/Common/SystemVariables.h"
#include "Source/Common/UserInput.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/DisplayChange.h"
#include "Source/GameComponent/RestackQueue.h"

namespace Quenta::Common {

MainThread::MainThread(FrameEnvironment& environment, QuitControl& quit, GameComponent::DesktopObject& desktop)
    : environment_(environment), quit_(quit), desktop_(desktop) {
    Interpreter::ScriptHost::install(host_);
}

MainThread::~MainThread() {
    // run() uses this object's members: stop before they go.
    stopAndJoin();
    Interpreter::ScriptHost::uninstall(host_);
}

void MainThread::runFrame() {
    const std::uint64_t frame = framesRun_.load() + 1;
    if (hooks_) hooks_->beforeFrame(frame);
    UserInput::set(environment_.takeRecognizedText());

    publishSystemVariables(GameComponent::DisplayChange::take());

    desktop_.inputPhase();
    desktop_.updatePhase();
    GameComponent::RestackQueue::instance().apply();
    desktop_.motionPhase();
    desktop_.animationPhase();
    desktop_.renderPhase();
    if (hooks_) hooks_->afterRender(frame);

    const std::uint64_t done = framesRun_.fetch_add(1) + 1;
    if (frameLimit_ && done >= *frameLimit_) quit_.beginQuitting();
}

void MainThread::publishSystemVariables(bool desktopChanged) {
    if (desktopChanged) {
        const DesktopGeometry g = environment_.desktopGeometry();
        SystemVariables::instance().publishDesktop(g.width, g.height);
        desktop_.setDesktop(g.originX, g.originY, g.width, g.height);
    }
    // Desktop coordinates count from the virtual screen's corner.
    const Arbor::Platform::Point cursor = environment_.cursorPosition();
    SystemVariables::instance().publishCursor(cursor.x - desktop_.originX(), cursor.y - desktop_.originY());
}

void MainThread::checkQuit() {
    if (!quit_.isQuitting() || !GameComponent::CharacterRegistry::instance().allTerminated()) return;
    environment_.postQuit(0);
    quit_.stopMessageLoop();
    requestStop();
}

void MainThread::run() {
    desktop_.adoptScriptThread();
    environment_.beginTimerResolution(timerResolution);
    FramePacer pacer(environment_.tickCount());
    while (keepRunning()) {
        runFrame();
        const std::uint32_t pause = paced_ ? pacer.frameDone(environment_.tickCount()) : 0;
        // A failed wait counts as a time-out: the loop goes on.
        if (wait(static_cast<int>(pause)) == Arbor::Threading::AbstractEvent::Signalled) break;
        checkQuit();
    }
    environment_.endTimerResolution(timerResolution);
}

}  // namespace Quenta::Common
