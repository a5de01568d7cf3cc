#pragma once
// One sound player of a script object (an order's background sound, a motion's or
// image layer's frame sounds). The device player is made on first use, so the many
// objects that never play anything cost no player; the channel keeps the sound it
// plays alive, since the player only points at it.
#include <memory>
#include <string_view>

namespace Arbor::Media {
class Sound;
class WaveOutAudio;
}  // namespace Arbor::Media
namespace Arbor::Secure {
class ResourceCache;
}

namespace Quenta::GameComponent {

class SoundChannel {
public:
    SoundChannel();
    ~SoundChannel();
    SoundChannel(const SoundChannel&) = delete;
    SoundChannel& operator=(const SoundChannel&) = delete;

    // Plays the named sound of the character's files once (or with the loop count
    // set before); an empty name or a sound that cannot be loaded plays nothing.
    void play(Arbor::Secure::ResourceCache& cache, std::u16string_view name);
    void stop();
    void setLoops(int loops);
    void setMuted(bool muted);
    bool isMuted() const { return muted_; }

private:
    std::unique_ptr<Arbor::Media::WaveOutAudio> player_;
    std::shared_ptr<const Arbor::Media::Sound> sound_;
    int loops_ = 0;
    bool muted_ = false;
};

}  // namespace Quenta::GameComponent
