#pragma once
// The end of the program on an error it cannot go on from (a script or definition
// error): a message box with the text, the caption "Error" and the error icon, then the
// process ends at once with exit code 0 — no exit sequence, and so never the system
// shutdown or reboot a script may have asked for.
#include <functional>
#include <string_view>

namespace Quenta::Application {

class FatalError {
public:
    // What ends the process; tests put in one that records the call instead (and
    // typically throws to leave the failing code the way the real end would).
    using Terminator = std::function<void(int exitCode)>;

    [[noreturn]] static void raise(std::u16string_view text);

    // Returns the previous terminator; an empty one restores the real process end.
    static Terminator setTerminator(Terminator terminator);
};

}  // namespace Quenta::Application
