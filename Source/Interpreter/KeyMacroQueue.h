#pragma once
// A character's queue of key macros, played one after another. The character hands
// it each macro its script sends and calls step() once a frame in its input phase.
//
// The cancel rule: whenever the queue looks at the foreground window (on every hand-
// over, and every step while a macro is queued) and finds that it changed to a window of another process than
// the one it remembered, every queued macro is deleted (a playing one is stopped)
// before anything else happens, so keys meant for one program never reach another.
//
// Only the owning character's script thread uses the queue; the macro threads only
// inject input.
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>

#include "Source/Interpreter/KeyMacro.h"
#include "framework/Platform/Foreground.h"

namespace Quenta::Interpreter {

class MacroInputThread;

class KeyMacroQueue {
public:
    using ForegroundProbe = std::function<Arbor::Platform::ForegroundWindow()>;

    // The probe reads the foreground window; by default the platform's.
    explicit KeyMacroQueue(ForegroundProbe probe = {});
    // Stops and deletes every macro thread.
    ~KeyMacroQueue();
    KeyMacroQueue(const KeyMacroQueue&) = delete;
    KeyMacroQueue& operator=(const KeyMacroQueue&) = delete;

    // Hands a macro over: the foreground check, then the macro starts at once when
    // the queue was empty, and is appended either way.
    void add(KeyMacro macro);
    // The frame's step: the foreground check, then, when the front macro has finished,
    // deletes it and starts the next one.
    void step();
    // Deletes every macro thread, stopping a playing one.
    void clear();

    std::size_t size() const { return threads_.size(); }

private:
    // Cancels everything when the foreground moved to another process; remembers it.
    void checkForeground();

    ForegroundProbe probe_;
    Arbor::Platform::ForegroundWindow remembered_;
    std::deque<std::unique_ptr<MacroInputThread>> threads_;
};

}  // namespace Quenta::Interpreter
