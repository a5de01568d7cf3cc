#pragma once
// The frame thread: 30 frames a second, each running the whole scene in a fixed order,
// paced by FramePacer and waiting on the stop event so that a stop request ends the
// wait at once. runFrame() is one frame's body, callable on its own.
#include <atomic>
#include <cstdint>
#include <optional>

#include "Source/Common/FrameEnvironment.h"
#include "framework/Threading/Thread.h"

namespace Quenta::Application {
class ApplicationState;
}
namespace Quenta::GameComponent {
class DesktopObject;
}

namespace Quenta::Common {

class MainThread : public Arbor::Threading::Thread {
public:
    static constexpr std::uint32_t timerResolution = 5;

    MainThread(FrameEnvironment& environment, Application::ApplicationState& state,
               GameComponent::DesktopObject& desktop);
    ~MainThread() override;

    // Begin quitting once this many frames have run (for runs without a user).
    void setFrameLimit(std::optional<std::uint64_t> frames) { frameLimit_ = frames; }

    // One frame: user input, system variables, then the input, update, restack,
    // motion, animation and render steps of the scene.
    void runFrame();

    // Publishes the cursor and, when asked, the desktop rectangle as system variables
    // (and gives the desktop object its bounds).
    void publishSystemVariables(bool desktopChanged);

    std::uint64_t framesRun() const { return framesRun_.load(); }

    void run() override;

private:
    // After a frame: while quitting, once every character has terminated, end the
    // message loop and this thread.
    void checkQuit();

    FrameEnvironment& environment_;
    Application::ApplicationState& state_;
    GameComponent::DesktopObject& desktop_;
    std::optional<std::uint64_t> frameLimit_;
    std::atomic<std::uint64_t> framesRun_{0};
};

}  // namespace Quenta::Common
