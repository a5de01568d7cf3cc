#include "framework/Media/WaveOutAudio.h"

#include "framework/Media/AudioLock.h"

namespace Arbor::Media {

namespace {
Platform::AudioFormat toAudioFormat(const WaveFormat& f) {
    Platform::AudioFormat out;
    out.formatTag = f.formatTag;
    out.channels = f.channels;
    out.samplesPerSecond = f.samplesPerSecond;
    out.averageBytesPerSecond = f.averageBytesPerSecond;
    out.blockAlign = f.blockAlign;
    out.bitsPerSample = f.bitsPerSample;
    return out;
}
}  // namespace

WaveOutAudio::WaveOutAudio() : WaveOutAudio(Platform::audioOutput()) {}

WaveOutAudio::WaveOutAudio(Platform::AudioOutput& output) : output_(output) {
    dispatchId_ = WomDoneDispatcher::instance().attach(this);
}

WaveOutAudio::~WaveOutAudio() {
    // First cut the notices off (waits for one being handled), then silence and close
    // the device; its last notices go nowhere.
    WomDoneDispatcher::instance().detach(dispatchId_);
    AudioLockGuard guard(audioLock());
    stop();
    closeDevice();
}

bool WaveOutAudio::isIdle() {
    AudioLockGuard guard(audioLock());
    return !device_ || (!device_->isQueued(0) && !device_->isQueued(1));
}

int WaveOutAudio::loops() {
    AudioLockGuard guard(audioLock());
    return loopSetting_;
}

int WaveOutAudio::loopCount() {
    AudioLockGuard guard(audioLock());
    return loopCounter_.value();
}

void WaveOutAudio::setLoops(int n) {
    AudioLockGuard guard(audioLock());
    stop();
    loopSetting_ = n;
    loopCounter_.reset(n, 0, 1);
}

bool WaveOutAudio::playIfIdle(const Sound* sound) {
    AudioLockGuard guard(audioLock());
    if (!isIdle()) return false;
    return play(sound);
}

void WaveOutAudio::stepLoopCounter() { loopCounter_.stepForward(); }

bool WaveOutAudio::play(const Sound* sound) {
    if (!sound || !sound->isLoaded()) return false;
    AudioLockGuard guard(audioLock());
    if (disabled_) return false;
    stop();
    // A sound at the address of the one the device was opened for is only the same
    // sound when its sample block is the same too.
    const bool sameSound = device_ && openedFor_ == sound && headers_[0].data == sound->header().data &&
                           headers_[0].bufferLength == sound->header().bufferLength;
    if (!sameSound && !openFor(sound)) return false;
    playing_ = sound;

    loopCounter_.setValue(loopSetting_);
    if (loopSetting_ > 0) stepLoopCounter();
    currentHeader_ = 0;
    if (!queue(0)) return false;
    if (loopSetting_ != 0 && !queue(1)) return false;
    return true;
}

bool WaveOutAudio::openFor(const Sound* sound) {
    closeDevice();
    const std::uint64_t id = dispatchId_;
    device_ = output_.open(toAudioFormat(sound->format()), [id](int buffer, std::uint32_t tag) {
        WomDoneDispatcher::instance().post(id, Platform::MM_WOM_DONE, buffer, tag);
    });
    if (!device_) return false;
    openedFor_ = sound;
    for (int i = 0; i < 2; ++i) {
        headers_[i] = sound->header();
        if (!device_->prepare(i, headers_[i].data, headers_[i].bufferLength)) {
            closeDevice();
            return false;
        }
    }
    return true;
}

void WaveOutAudio::closeDevice() {
    if (device_) {
        device_->reset();
        device_->unprepare(0);
        device_->unprepare(1);
        device_.reset();
    }
    openedFor_ = nullptr;
    playing_ = nullptr;
}

bool WaveOutAudio::queue(int buffer) {
    if (++nextTag_ == 0) ++nextTag_;  // 0 marks a stopped header
    const std::uint32_t tag = nextTag_;
    tags_[buffer] = tag;
    return device_->write(buffer, tag);
}

void WaveOutAudio::stop() {
    AudioLockGuard guard(audioLock());
    loopCounter_.setValue(0);
    currentHeader_ = 0;
    // Buffers returned by the reset must not loop on: a later setLoops or play sets
    // the counter again before their notices arrive.
    tags_[0] = tags_[1] = 0;
    if (device_) device_->reset();
}

void WaveOutAudio::pause() {
    AudioLockGuard guard(audioLock());
    paused_ = true;
    if (device_) device_->pause();
}

void WaveOutAudio::resume() {
    AudioLockGuard guard(audioLock());
    if (!paused_) return;
    paused_ = false;
    if (device_) device_->restart();
}

void WaveOutAudio::disable() {
    AudioLockGuard guard(audioLock());
    disabled_ = true;
    stop();
}

void WaveOutAudio::enable() {
    AudioLockGuard guard(audioLock());
    disabled_ = false;
}

bool WaveOutAudio::isDisabled() {
    AudioLockGuard guard(audioLock());
    return disabled_;
}

bool WaveOutAudio::isPaused() {
    AudioLockGuard guard(audioLock());
    return paused_;
}

bool WaveOutAudio::hasDevice() {
    AudioLockGuard guard(audioLock());
    return device_ != nullptr;
}

void WaveOutAudio::onWomDone(int buffer, std::uint32_t tag) {
    AudioLockGuard guard(audioLock());
    // Notices of buffers written before the latest write of that header (for example
    // those returned by the reset of an earlier play) are stale.
    if (!device_ || buffer < 0 || buffer > 1 || tags_[buffer] != tag) return;
    if (loopCounter_.value() != 0) {
        if (!queue(buffer)) return;
        currentHeader_ ^= 1;
    }
    if (loopSetting_ > 0) stepLoopCounter();
}

}  // namespace Arbor::Media
