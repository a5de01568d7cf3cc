#pragma once
// What a run without a user adds around each frame (the headless run: scripted input,
// the virtual clock, screenshots and the trace). Called on the frame thread.
#include <cstdint>

namespace Quenta::Common {

class FrameHooks {
public:
    virtual ~FrameHooks() = default;
    // Before the frame (counted from 1) takes its first step.
    virtual void beforeFrame(std::uint64_t frame) = 0;
    // After the frame's render phase, before the frame limit may begin quitting.
    virtual void afterRender(std::uint64_t frame) = 0;
};

}  // namespace Quenta::Common
