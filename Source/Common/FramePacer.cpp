#include "Source/Common/FramePacer.h"

namespace Quenta::Common {

std::uint32_t FramePacer::frameDone(std::uint32_t now) {
    ++frame_;
    const std::uint32_t elapsed = now - anchor_;
    const auto target = static_cast<std::uint32_t>(frame_ * frameInterval);
    const std::uint32_t wait = target > elapsed ? target - elapsed : 0;
    if (frame_ >= framesPerSecond) {
        anchor_ = now + target - 1000u + wait;
        frame_ = 0;
    }
    return wait;
}

}  // namespace Quenta::Common
