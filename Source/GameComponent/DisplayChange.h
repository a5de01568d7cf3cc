#pragma once
// Set on the user-interface thread when the display resolution changes; the frame loop
// republishes the desktop rectangle at its next frame and clears it. Set at start so
// that the first frame publishes.
#include <atomic>

namespace Quenta::GameComponent {

class DisplayChange {
public:
    static void signal() { flag().store(true); }
    // True (once) when a change is pending.
    static bool take() { return flag().exchange(false); }

private:
    static std::atomic<bool>& flag() {
        static std::atomic<bool> changed{true};
        return changed;
    }
};

}  // namespace Quenta::GameComponent
