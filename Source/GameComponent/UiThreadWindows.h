#pragma once
// Scene objects get and give back their windows here, so that every window belongs to
// the user-interface thread whichever thread builds the object (see the threading
// contract in Common/MainThread.h). On the user-interface thread a call goes straight
// to the window service; on any other thread (the frame thread building a balloon for
// a script) it is a request sent to a hidden window of the user-interface thread,
// which creates or destroys the window there and answers with the handle.
//
// One instance exists while the program runs, made by start-up on the user-interface
// thread. Without one (tools, tests, previews run on one thread) windows are made on
// the calling thread.
//
// A sent request waits until the user-interface thread takes it, so that thread must
// keep pumping while it waits for the frame thread.
#include <cstdint>

#include "framework/Platform/Types.h"
#include "framework/Platform/Window.h"

namespace Quenta::GameComponent {

class UiThreadWindows {
public:
    // On the user-interface thread; makes the hidden request window.
    UiThreadWindows();
    ~UiThreadWindows();
    UiThreadWindows(const UiThreadWindows&) = delete;
    UiThreadWindows& operator=(const UiThreadWindows&) = delete;

    // The instance of the running program, or null.
    static UiThreadWindows* current();

    // Through the current instance when there is one, else on the calling thread.
    static Arbor::Platform::WindowHandle create(const Arbor::Platform::WindowDescription& description);
    static bool destroy(Arbor::Platform::WindowHandle window);

    Arbor::Platform::ThreadId thread() const { return thread_; }

private:
    Arbor::Platform::ThreadId thread_;
    Arbor::Platform::WindowHandle requestWindow_ = Arbor::Platform::WindowHandle::None;
};

}  // namespace Quenta::GameComponent
