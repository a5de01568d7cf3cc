#pragma once
// A sound player: plays one sound at a time, looping it as its loop setting says.
#include "framework/Media/Sound.h"

namespace Arbor::Media {

class Audio {
public:
    Audio() = default;
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;
    virtual ~Audio() = default;

    // True when nothing is queued on the player's device (or it has none).
    virtual bool isIdle() = 0;
    // The loop setting: 0 plays once, n > 0 plays n + 1 times, negative until stopped.
    virtual int loops() = 0;
    // The loop counter's current value.
    virtual int loopCount() = 0;
    // Stops, then sets the loop setting and the counter to n.
    virtual void setLoops(int n) = 0;
    // Plays only when idle; otherwise does nothing and answers false.
    virtual bool playIfIdle(const Sound* sound) = 0;
    // Plays now, cutting off what was playing.
    virtual bool play(const Sound* sound) = 0;
    virtual void stop() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // A disabled player plays nothing until enabled again.
    virtual void disable() = 0;
    virtual void enable() = 0;
    virtual bool isDisabled() = 0;
};

}  // namespace Arbor::Media
