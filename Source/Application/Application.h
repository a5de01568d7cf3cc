#pragma once
// The application's outer life on the process's first thread: start-up in its fixed
// order, the message loop (this thread becomes the user-interface thread), and the
// exit sequence with the optional system shutdown or reboot.
#include <filesystem>
#include <memory>

#include "Source/Application/ApplicationDirectories.h"
#include "Source/Application/ApplicationState.h"
#include "Source/Application/CommandLine.h"

namespace Quenta::Common {
class MainThread;
class ProcessManager;
class SnapshotTimer;
class FrameEnvironment;
}  // namespace Quenta::Common

namespace Quenta::GameComponent {
class MainObject;
class UiThreadWindows;
}  // namespace Quenta::GameComponent

namespace Quenta::Application {

class HeadlessRun;

class Application {
public:
    Application(CommandLine commandLine, ApplicationDirectories directories,
                ApplicationState& state = ApplicationState::instance());
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the program to its end; the exit code the quit message carried (2 when a
    // headless run's input cannot be read, 1 when its output cannot be written).
    int run();

    // Carries out the system action after the program has ended: enable the shutdown
    // privilege and, if that worked, ask the system to shut down (1) or reboot (2).
    // Nothing happens for SystemAction::None or without the privilege.
    static bool performSystemAction(SystemAction action);

    const ApplicationDirectories& directories() const { return directories_; }

private:
    // Steps up to the frame thread's start; false when start-up failed (the message
    // loop then ends at once).
    bool startUp();
    bool waitForPredecessor();
    void loadCharacters();
    int messageLoop();
    void exitSequence();

    CommandLine commandLine_;
    ApplicationDirectories directories_;
    ApplicationState& state_;
    std::unique_ptr<Common::ProcessManager> processes_;
    std::unique_ptr<Common::FrameEnvironment> environment_;
    std::unique_ptr<Common::MainThread> mainThread_;
    std::unique_ptr<Common::SnapshotTimer> snapshotTimer_;
    std::unique_ptr<GameComponent::UiThreadWindows> windows_;
    GameComponent::MainObject* mainObject_ = nullptr;
    std::unique_ptr<HeadlessRun> headlessRun_;
};

}  // namespace Quenta::Application
