#pragma once
// The frame loop's pacing arithmetic, apart from any clock so that tests can drive it.
// Frame n of a second is due at anchor + floor(n * 1000/30) ms. A late frame is
// followed at once by the next (no frame is skipped), and after every 30 frames the
// anchor moves to where the 30th frame's wait ends, so lateness never carries over.
#include <cstdint>

namespace Quenta::Common {

class FramePacer {
public:
    static constexpr int framesPerSecond = 30;
    // 1000/30 in single precision, widened: floor(30 * this) is 999, which puts the new
    // anchor one millisecond before the end of the 30th frame's wait.
    static constexpr double frameInterval = static_cast<double>(1000.0f / 30.0f);

    explicit FramePacer(std::uint32_t startTick) : anchor_(startTick) {}

    // Call when a frame's work is done, with the current tick count. Returns how many
    // milliseconds to wait before the next frame. Tick arithmetic is unsigned 32-bit,
    // so the wrap of the tick count after 49.7 days is harmless.
    std::uint32_t frameDone(std::uint32_t now);

    std::uint32_t anchor() const { return anchor_; }
    int frameInSecond() const { return frame_; }

private:
    std::uint32_t anchor_;
    int frame_ = 0;
};

}  // namespace Quenta::Common
