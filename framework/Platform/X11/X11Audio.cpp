// Audio output of the Linux desktop through ALSA: playback on the "default" PCM and the
// master volume and mute through the "Master" simple mixer element of the default
// control (the default card).
//
// A device is an ALSA PCM fed by its own thread, which plays the queued buffers in
// order in short chunks (so that reset and pause act within one chunk) and reports
// each finished buffer from that thread. Devices that swallow samples at once (the
// null device) are held to real time, so that buffers finish when they would have
// been heard everywhere.
#include <alsa/asoundlib.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/Platform/AudioOutput.h"
#include "framework/Platform/X11/X11Services.h"

namespace Arbor::Platform {

namespace {

using Clock = std::chrono::steady_clock;

// ALSA reports its own failures on standard error; a missing sound card is a normal
// state for this program, so they are silenced (failures are answered by results).
void quietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaOnce() {
    static const bool done = [] {
        snd_lib_error_set_handler(quietAlsaErrors);
        return true;
    }();
    (void)done;
}

// An ALSA configuration tree parsed from text; null when the text is empty or bad.
struct ConfigTree {
    snd_config_t* top = nullptr;
    explicit ConfigTree(const std::string& text) {
        if (text.empty()) return;
        snd_input_t* in = nullptr;
        if (snd_config_top(&top) < 0) {
            top = nullptr;
            return;
        }
        if (snd_input_buffer_open(&in, text.data(), static_cast<ssize_t>(text.size())) < 0 ||
            snd_config_load(top, in) < 0) {
            snd_config_delete(top);
            top = nullptr;
        }
        if (in) snd_input_close(in);
    }
    ~ConfigTree() {
        if (top) snd_config_delete(top);
    }
    ConfigTree(const ConfigTree&) = delete;
    ConfigTree& operator=(const ConfigTree&) = delete;
};

snd_pcm_format_t alsaFormat(std::uint16_t bits) {
    switch (bits) {
        case 8: return SND_PCM_FORMAT_U8;
        case 16: return SND_PCM_FORMAT_S16_LE;
        case 24: return SND_PCM_FORMAT_S24_3LE;
        case 32: return SND_PCM_FORMAT_S32_LE;
        default: return SND_PCM_FORMAT_UNKNOWN;
    }
}

// How far ALSA may run ahead of the listener; also what the pacing allows.
constexpr unsigned kLatencyMicroseconds = 100000;
constexpr std::chrono::microseconds kLatency{kLatencyMicroseconds};

class AlsaDevice final : public AudioDevice {
public:
    AlsaDevice(snd_pcm_t* pcm, const AudioFormat& format, AudioDoneFunction onDone)
        : pcm_(pcm), format_(format), onDone_(std::move(onDone)) {
        chunkFrames_ = std::max<std::uint32_t>(1, format_.samplesPerSecond / 50);
        worker_ = std::thread([this] { run(); });
    }

    ~AlsaDevice() override {
        reset();
        {
            std::lock_guard<std::mutex> guard(lock_);
            quitting_ = true;
        }
        wake_.notify_all();
        worker_.join();
        snd_pcm_drop(pcm_);
        snd_pcm_close(pcm_);
    }

    bool prepare(int buffer, const std::uint8_t* data, std::size_t length) override {
        std::lock_guard<std::mutex> guard(lock_);
        if (!valid(buffer) || buffers_[buffer].queued) return false;
        buffers_[buffer] = Buffer{data, length, true, false};
        return true;
    }

    bool unprepare(int buffer) override {
        std::lock_guard<std::mutex> guard(lock_);
        if (!valid(buffer) || buffers_[buffer].queued) return false;
        buffers_[buffer].prepared = false;
        return true;
    }

    bool write(int buffer, std::uint32_t tag) override {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (!valid(buffer) || !buffers_[buffer].prepared || buffers_[buffer].queued) return false;
            buffers_[buffer].queued = true;
            queue_.push_back(Pending{buffer, tag, false, {}});
        }
        wake_.notify_all();
        return true;
    }

    bool isQueued(int buffer) const override {
        std::lock_guard<std::mutex> guard(lock_);
        return valid(buffer) && buffers_[buffer].queued;
    }

    void reset() override {
        std::vector<Pending> returned;
        {
            std::unique_lock<std::mutex> guard(lock_);
            for (const Pending& p : queue_) {
                buffers_[p.buffer].queued = false;
                returned.push_back(p);
            }
            queue_.clear();
            writing_ = 0;
            offset_ = 0;
            ++generation_;
            dropRequested_ = true;
            wake_.notify_all();
            // The worker drops what ALSA still holds before the reset counts as done.
            const std::uint64_t want = generation_;
            done_.wait(guard, [&] { return droppedGeneration_ >= want || quitting_; });
        }
        if (onDone_) {
            for (const Pending& p : returned) onDone_(p.buffer, p.tag);
        }
    }

    void pause() override {
        std::lock_guard<std::mutex> guard(lock_);
        if (paused_) return;
        paused_ = true;
        pausedAt_ = Clock::now();
        wake_.notify_all();
    }

    void restart() override {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (!paused_) return;
            paused_ = false;
            // Everything still to be heard moves on by the time spent paused.
            const Clock::duration held = Clock::now() - pausedAt_;
            anchor_ += held;
            for (Pending& p : queue_) {
                if (p.written) p.due += held;
            }
        }
        wake_.notify_all();
    }

private:
    struct Buffer {
        const std::uint8_t* data = nullptr;
        std::size_t length = 0;
        bool prepared = false;
        bool queued = false;
    };
    struct Pending {
        int buffer;
        std::uint32_t tag;
        bool written = false;           // every frame is with ALSA
        Clock::time_point due;          // when its last frame is heard
    };

    static bool valid(int buffer) { return buffer >= 0 && buffer < bufferCount; }

    // The feeding thread: writes the queued buffers chunk by chunk, at most the latency
    // ahead of the listener, and reports each buffer once its last frame is due to have
    // been heard.
    void run() {
        std::unique_lock<std::mutex> guard(lock_);
        std::vector<Pending> finished;
        for (;;) {
            if (quitting_) return;
            if (dropRequested_) {
                dropRequested_ = false;
                const std::uint64_t generation = generation_;
                guard.unlock();
                snd_pcm_drop(pcm_);
                snd_pcm_prepare(pcm_);
                guard.lock();
                droppedGeneration_ = generation;
                anchorValid_ = false;
                done_.notify_all();
                continue;
            }

            const Clock::time_point now = Clock::now();
            if (!paused_) {
                while (!queue_.empty() && queue_.front().written && queue_.front().due <= now) {
                    buffers_[queue_.front().buffer].queued = false;
                    finished.push_back(queue_.front());
                    queue_.pop_front();
                    --writing_;
                }
                if (queue_.empty()) anchorValid_ = false;
            }
            if (!finished.empty()) {
                guard.unlock();
                if (onDone_) {
                    for (const Pending& p : finished) onDone_(p.buffer, p.tag);
                }
                finished.clear();
                guard.lock();
                continue;
            }

            // When the next chunk may be written, and when the oldest buffer is due.
            Clock::time_point next = Clock::time_point::max();
            if (!paused_ && writing_ < queue_.size()) {
                if (!anchorValid_) {
                    anchor_ = now;
                    framesSinceAnchor_ = 0;
                    anchorValid_ = true;
                }
                const Clock::time_point writable = heardAt(framesSinceAnchor_) - kLatency;
                if (writable <= now) {
                    writeChunk(guard);
                    continue;
                }
                next = writable;
            }
            if (!paused_ && !queue_.empty() && queue_.front().written) next = std::min(next, queue_.front().due);
            if (next == Clock::time_point::max()) {
                wake_.wait(guard);
            } else {
                wake_.wait_until(guard, next);
            }
        }
    }

    Clock::time_point heardAt(std::uint64_t frames) const {
        return anchor_ + std::chrono::microseconds(
                             static_cast<std::int64_t>(frames * 1000000.0 / format_.samplesPerSecond));
    }

    // Writes one chunk of the buffer being fed; called and returns with the lock held.
    void writeChunk(std::unique_lock<std::mutex>& guard) {
        Pending& entry = queue_[writing_];
        const Buffer& b = buffers_[entry.buffer];
        const std::uint64_t generation = generation_;
        const std::size_t frameBytes = format_.blockAlign;
        const std::size_t frames = std::min<std::size_t>((b.length - offset_) / frameBytes, chunkFrames_);
        const std::uint8_t* from = b.data + offset_;
        guard.unlock();

        std::size_t written = 0;
        bool failed = false;
        while (written < frames) {
            const snd_pcm_sframes_t n = snd_pcm_writei(pcm_, from + written * frameBytes, frames - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            } else if (n == 0) {
                failed = true;  // a blocking write that takes nothing: give the buffer up
                break;
            } else if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0) {
                failed = true;  // the device is gone: the buffer counts as played
                break;
            }
        }

        guard.lock();
        if (generation != generation_) return;  // reset meanwhile: this progress is void
        framesSinceAnchor_ += written;
        offset_ += written * frameBytes;
        if (failed || frames == 0 || (b.length - offset_) < frameBytes) {
            Pending& done = queue_[writing_];
            done.written = true;
            done.due = failed ? Clock::now() : heardAt(framesSinceAnchor_);
            ++writing_;
            offset_ = 0;
        }
    }

    snd_pcm_t* pcm_;
    AudioFormat format_;
    AudioDoneFunction onDone_;
    std::uint32_t chunkFrames_ = 1;

    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable done_;
    Buffer buffers_[bufferCount];
    std::deque<Pending> queue_;
    std::size_t writing_ = 0;  // queue entries before this one are written whole
    std::size_t offset_ = 0;   // bytes of the entry being written already with ALSA
    std::uint64_t generation_ = 0;
    std::uint64_t droppedGeneration_ = 0;
    bool dropRequested_ = false;
    bool paused_ = false;
    bool quitting_ = false;
    bool anchorValid_ = false;
    Clock::time_point pausedAt_;
    Clock::time_point anchor_;  // when frame 0 since the anchor is heard
    std::uint64_t framesSinceAnchor_ = 0;
    std::thread worker_;
};

// The "Master" element of the default control, open for one call.
class MasterElement {
public:
    explicit MasterElement(snd_config_t* config) {
        if (snd_mixer_open(&mixer_, 0) < 0) {
            mixer_ = nullptr;
            return;
        }
        int rc;
        if (config) {
            snd_ctl_t* ctl = nullptr;
            snd_hctl_t* hctl = nullptr;
            rc = snd_ctl_open_lconf(&ctl, "default", 0, config);
            if (rc >= 0) {
                rc = snd_hctl_open_ctl(&hctl, ctl);
                if (rc < 0) snd_ctl_close(ctl);
            }
            if (rc >= 0) {
                rc = snd_mixer_attach_hctl(mixer_, hctl);  // the mixer owns hctl from here
            }
        } else {
            rc = snd_mixer_attach(mixer_, "default");
        }
        if (rc < 0 || snd_mixer_selem_register(mixer_, nullptr, nullptr) < 0 || snd_mixer_load(mixer_) < 0) return;
        snd_mixer_selem_id_t* id = nullptr;
        if (snd_mixer_selem_id_malloc(&id) < 0) return;
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, "Master");
        element_ = snd_mixer_find_selem(mixer_, id);
        snd_mixer_selem_id_free(id);
    }
    ~MasterElement() {
        if (mixer_) snd_mixer_close(mixer_);
    }
    MasterElement(const MasterElement&) = delete;
    MasterElement& operator=(const MasterElement&) = delete;

    snd_mixer_elem_t* get() const { return element_; }

private:
    snd_mixer_t* mixer_ = nullptr;
    snd_mixer_elem_t* element_ = nullptr;
};

class X11Audio final : public AudioOutput {
public:
    explicit X11Audio(const std::string& configuration) : config_(configuration) {
        silenceAlsaOnce();
        custom_ = !configuration.empty();
    }

    std::unique_ptr<AudioDevice> open(const AudioFormat& format, AudioDoneFunction onDone) override {
        if (!isPlayableFormat(format)) return nullptr;
        if (!usable()) return nullptr;
        snd_pcm_t* pcm = nullptr;
        const int rc = custom_ ? snd_pcm_open_lconf(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0, config_.top)
                               : snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0);
        if (rc < 0) return nullptr;
        if (snd_pcm_set_params(pcm, alsaFormat(format.bitsPerSample), SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                               format.samplesPerSecond, 1, kLatencyMicroseconds) < 0) {
            snd_pcm_close(pcm);
            return nullptr;
        }
        return std::make_unique<AlsaDevice>(pcm, format, std::move(onDone));
    }

    std::optional<float> masterVolume() override {
        if (!usable()) return std::nullopt;
        MasterElement master(mixerConfig());
        long low = 0, high = 0, value = 0;
        if (!master.get() || !snd_mixer_selem_has_playback_volume(master.get()) ||
            snd_mixer_selem_get_playback_volume_range(master.get(), &low, &high) < 0 || high <= low ||
            snd_mixer_selem_get_playback_volume(master.get(), SND_MIXER_SCHN_FRONT_LEFT, &value) < 0)
            return std::nullopt;
        return static_cast<float>(static_cast<double>(value - low) / static_cast<double>(high - low));
    }

    bool setMasterVolume(float level) override {
        if (!(level >= 0.0f && level <= 1.0f) || !usable()) return false;
        MasterElement master(mixerConfig());
        long low = 0, high = 0;
        if (!master.get() || !snd_mixer_selem_has_playback_volume(master.get()) ||
            snd_mixer_selem_get_playback_volume_range(master.get(), &low, &high) < 0 || high <= low)
            return false;
        const long value = low + static_cast<long>(static_cast<double>(level) * static_cast<double>(high - low) + 0.5);
        return snd_mixer_selem_set_playback_volume_all(master.get(), value) >= 0;
    }

    bool setMute(bool on) override {
        if (!usable()) return false;
        MasterElement master(mixerConfig());
        if (!master.get() || !snd_mixer_selem_has_playback_switch(master.get())) return false;
        return snd_mixer_selem_set_playback_switch_all(master.get(), on ? 0 : 1) >= 0;
    }

    std::optional<bool> isMuted() override {
        if (!usable()) return std::nullopt;
        MasterElement master(mixerConfig());
        int on = 0;
        if (!master.get() || !snd_mixer_selem_has_playback_switch(master.get()) ||
            snd_mixer_selem_get_playback_switch(master.get(), SND_MIXER_SCHN_FRONT_LEFT, &on) < 0)
            return std::nullopt;
        return on == 0;
    }

private:
    snd_config_t* mixerConfig() const { return config_.top; }
    // A configuration text that did not parse leaves the output without any device.
    bool usable() const { return !custom_ || config_.top; }

    ConfigTree config_;
    bool custom_ = false;
};

}  // namespace

std::unique_ptr<AudioOutput> X11::makeAudioOutput(const std::string& alsaConfiguration) {
    return std::make_unique<X11Audio>(alsaConfiguration);
}

}  // namespace Arbor::Platform
