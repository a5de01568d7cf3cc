#include "Source/GameComponent/SoundChannel.h"

#include "framework/Media/SoundResource.h"
#include "framework/Media/WaveOutAudio.h"

namespace Quenta::GameComponent {

SoundChannel::SoundChannel() = default;

SoundChannel::~SoundChannel() {
    // The player goes first: it must stop pointing at the sound before it is released.
    player_.reset();
}

void SoundChannel::play(Arbor::Secure::ResourceCache& cache, std::u16string_view name) {
    if (name.empty() || muted_) return;
    std::shared_ptr<const Arbor::Media::Sound> sound = Arbor::Media::cachedSound(cache, name);
    if (!sound) return;
    if (!player_) {
        player_ = std::make_unique<Arbor::Media::WaveOutAudio>();
        player_->setLoops(loops_);
    }
    player_->play(sound.get());
    sound_ = std::move(sound);
}

void SoundChannel::stop() {
    if (player_) player_->stop();
}

void SoundChannel::setLoops(int loops) {
    loops_ = loops;
    if (player_) player_->setLoops(loops);
}

void SoundChannel::setMuted(bool muted) {
    muted_ = muted;
    if (!player_) return;
    if (muted)
        player_->disable();
    else
        player_->enable();
}

}  // namespace Quenta::GameComponent
