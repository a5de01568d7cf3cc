#pragma once
// The frame thread: 30 frames a second, each running the whole scene in a fixed order,
// paced by FramePacer and waiting on the stop event so that a stop request ends the
// wait at once. runFrame() is one frame's body, callable on its own.
//
// The threading contract of the program, on every backend:
// - The user-interface thread (the process's first thread) pumps the window messages
//   and owns every window: it alone creates, destroys, re-parents and restacks them.
//   On Win32 a window receives its messages on the thread that created it, so a
//   window made elsewhere would never hear from the system.
// - The frame thread runs every script after start-up, moves and animates the scene,
//   and draws and presents pixels. An object it builds (a balloon a script creates)
//   asks the user-interface thread for its window with a sent request
//   (sendMessage to a window of that thread) and gets the handle back.
// - A character's scripts (its Parser, its variables and the token caches of the
//   lines they run) are used by one thread at a time: start-up builds and starts the
//   characters on the user-interface thread, and the frame thread adopts them when it
//   starts (GameObject::adoptScriptThread on the desktop). Debug builds check the
//   owner at each run.
// - Everything else crosses threads through small locked queues (window events,
//   restack requests, commands, launched programs) or atomics (system variables,
//   user input, the clock snapshot). No lock is held while calling out to code that
//   may take another lock or send a message: a queue is taken out under its lock and
//   worked off after releasing it.
#include <atomic>
#include <cstdint>
#include <optional>

#include "Source/Common/FrameEnvironment.h"
#include "Source/Common/FrameHooks.h"
#include "Source/Common/FrameScriptHost.h"
#include "Source/Common/QuitControl.h"
#include "framework/Threading/Thread.h"

namespace Quenta::GameComponent {
class DesktopObject;
}

namespace Quenta::Common {

class MainThread : public Arbor::Threading::Thread {
public:
    static constexpr std::uint32_t timerResolution = 5;

    // Installs the frame's script host for this object's lifetime.
    MainThread(FrameEnvironment& environment, QuitControl& quit, GameComponent::DesktopObject& desktop);
    ~MainThread() override;

    // Begin quitting once this many frames have run (for runs without a user).
    void setFrameLimit(std::optional<std::uint64_t> frames) { frameLimit_ = frames; }
    // Hooks around every frame (not owned; set before start()).
    void setFrameHooks(FrameHooks* hooks) { hooks_ = hooks; }
    // Unpaced, frames follow each other without waiting (the virtual clock's runs).
    void setPaced(bool paced) { paced_ = paced; }

    // One frame: user input, system variables, then the input, update, restack,
    // motion, animation and render steps of the scene.
    void runFrame();

    // Publishes the cursor and, when asked, the desktop rectangle as system variables
    // (and gives the desktop object its bounds).
    void publishSystemVariables(bool desktopChanged);

    std::uint64_t framesRun() const { return framesRun_.load(); }

    // Adopts the scene's scripts for the calling thread, then runs frames until asked
    // to stop.
    void run() override;

private:
    // After a frame: while quitting, once every character has terminated, end the
    // message loop and this thread.
    void checkQuit();

    FrameEnvironment& environment_;
    QuitControl& quit_;
    GameComponent::DesktopObject& desktop_;
    FrameScriptHost host_;
    std::optional<std::uint64_t> frameLimit_;
    FrameHooks* hooks_ = nullptr;
    bool paced_ = true;
    std::atomic<std::uint64_t> framesRun_{0};
};

}  // namespace Quenta::Common
