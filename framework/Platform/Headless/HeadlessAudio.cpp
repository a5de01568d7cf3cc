#include "framework/Platform/Headless/HeadlessAudio.h"
#include "framework/Platform/Headless/HeadlessServices.h"

#include <algorithm>
#include <deque>

namespace Arbor::Platform {

namespace {
struct Buffer {
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    bool prepared = false;
    bool queued = false;
};
struct Queued {
    int buffer;
    std::uint32_t tag;
    std::int64_t remaining;  // microseconds of playing left
};
}  // namespace

// All state of a device is guarded by its output's state lock, so that the output
// can walk every device when its clock moves. An output must outlive its devices.
class HeadlessAudioDevice final : public AudioDevice {
public:
    HeadlessAudioDevice(HeadlessAudio& owner, const AudioFormat& format, AudioDoneFunction onDone)
        : owner_(owner), format_(format), onDone_(std::move(onDone)) {}

    ~HeadlessAudioDevice() override {
        reset();
        owner_.detach(this);
    }

    bool prepare(int buffer, const std::uint8_t* data, std::size_t length) override {
        std::lock_guard<std::mutex> guard(owner_.state_);
        if (!valid(buffer) || buffers_[buffer].queued) return false;
        buffers_[buffer] = Buffer{data, length, true, false};
        return true;
    }

    bool unprepare(int buffer) override {
        std::lock_guard<std::mutex> guard(owner_.state_);
        if (!valid(buffer) || buffers_[buffer].queued) return false;
        buffers_[buffer].prepared = false;
        return true;
    }

    bool write(int buffer, std::uint32_t tag) override {
        std::lock_guard<std::mutex> guard(owner_.state_);
        if (!valid(buffer) || !buffers_[buffer].prepared || buffers_[buffer].queued) return false;
        Buffer& b = buffers_[buffer];
        b.queued = true;
        queue_.push_back(Queued{buffer, tag, durationOf(b.length)});
        owner_.writeCounts_[b.data] += 1;
        // A long headless run keeps only the latest writes.
        if (owner_.writes_.size() >= HeadlessAudio::kWriteRecordLimit)
            owner_.writes_.erase(owner_.writes_.begin(), owner_.writes_.begin() + HeadlessAudio::kWriteRecordLimit / 2);
        owner_.writes_.push_back(HeadlessAudio::Write{b.data, b.length, owner_.now_});
        return true;
    }

    bool isQueued(int buffer) const override {
        std::lock_guard<std::mutex> guard(owner_.state_);
        return valid(buffer) && buffers_[buffer].queued;
    }

    void reset() override {
        std::vector<HeadlessAudio::Completion> done;
        {
            std::lock_guard<std::mutex> guard(owner_.state_);
            for (const Queued& q : queue_) {
                buffers_[q.buffer].queued = false;
                if (onDone_) done.push_back({onDone_, q.buffer, q.tag});
            }
            queue_.clear();
        }
        owner_.deliver(done);
    }

    void pause() override {
        std::lock_guard<std::mutex> guard(owner_.state_);
        paused_ = true;
    }

    void restart() override {
        std::lock_guard<std::mutex> guard(owner_.state_);
        paused_ = false;
    }

    // Called with the state lock held: plays for `budget` microseconds.
    void play(std::int64_t budget, std::vector<HeadlessAudio::Completion>& done) {
        if (paused_) return;
        while (!queue_.empty()) {
            Queued& front = queue_.front();
            if (front.remaining > budget) {
                front.remaining -= budget;
                return;
            }
            budget -= front.remaining;
            Buffer& b = buffers_[front.buffer];
            b.queued = false;
            owner_.playedCounts_[b.data] += 1;
            if (onDone_) done.push_back({onDone_, front.buffer, front.tag});
            queue_.pop_front();
        }
    }

private:
    static bool valid(int buffer) { return buffer >= 0 && buffer < bufferCount; }

    std::int64_t durationOf(std::size_t length) const {
        // isPlayableFormat guarantees a non-zero byte rate.
        return static_cast<std::int64_t>((static_cast<long double>(length) * 1000000.0L) /
                                         format_.averageBytesPerSecond);
    }

    HeadlessAudio& owner_;
    AudioFormat format_;
    AudioDoneFunction onDone_;
    Buffer buffers_[bufferCount];
    std::deque<Queued> queue_;
    bool paused_ = false;
};

HeadlessAudio::~HeadlessAudio() = default;

std::unique_ptr<AudioDevice> HeadlessAudio::open(const AudioFormat& format, AudioDoneFunction onDone) {
    if (!isPlayableFormat(format)) return nullptr;
    std::lock_guard<std::mutex> guard(state_);
    if (!deviceAvailable_) return nullptr;
    auto device = std::make_unique<HeadlessAudioDevice>(*this, format, std::move(onDone));
    devices_.push_back(device.get());
    opens_ += 1;
    return device;
}

void HeadlessAudio::detach(HeadlessAudioDevice* device) {
    {
        std::lock_guard<std::mutex> guard(state_);
        devices_.erase(std::remove(devices_.begin(), devices_.end(), device), devices_.end());
    }
    // A delivery that collected this device's completions before it was detached
    // finishes before the device goes away.
    std::lock_guard<std::mutex> wait(delivering_);
}

void HeadlessAudio::deliver(std::vector<Completion>& completions) {
    if (completions.empty()) return;
    std::lock_guard<std::mutex> guard(delivering_);
    for (Completion& c : completions) c.function(c.buffer, c.tag);
}

void HeadlessAudio::advance(std::int64_t milliseconds) {
    if (milliseconds < 0) return;
    std::vector<Completion> done;
    {
        std::lock_guard<std::mutex> guard(state_);
        const std::int64_t budget = milliseconds * 1000;
        now_ += budget;
        for (HeadlessAudioDevice* device : devices_) device->play(budget, done);
    }
    deliver(done);
}

std::int64_t HeadlessAudio::nowMicroseconds() const {
    std::lock_guard<std::mutex> guard(state_);
    return now_;
}

std::optional<float> HeadlessAudio::masterVolume() {
    std::lock_guard<std::mutex> guard(state_);
    if (!volumeAvailable_) return std::nullopt;
    return volume_;
}

bool HeadlessAudio::setMasterVolume(float level) {
    std::lock_guard<std::mutex> guard(state_);
    if (!volumeAvailable_ || !(level >= 0.0f && level <= 1.0f)) return false;
    volume_ = level;
    return true;
}

bool HeadlessAudio::setMute(bool on) {
    std::lock_guard<std::mutex> guard(state_);
    if (!volumeAvailable_) return false;
    muted_ = on;
    return true;
}

std::optional<bool> HeadlessAudio::isMuted() {
    std::lock_guard<std::mutex> guard(state_);
    if (!volumeAvailable_) return std::nullopt;
    return muted_;
}

void HeadlessAudio::setDeviceAvailable(bool available) {
    std::lock_guard<std::mutex> guard(state_);
    deviceAvailable_ = available;
}

void HeadlessAudio::setVolumeAvailable(bool available) {
    std::lock_guard<std::mutex> guard(state_);
    volumeAvailable_ = available;
}

int HeadlessAudio::writeCount(const void* data) const {
    std::lock_guard<std::mutex> guard(state_);
    auto it = writeCounts_.find(data);
    return it == writeCounts_.end() ? 0 : it->second;
}

int HeadlessAudio::playedCount(const void* data) const {
    std::lock_guard<std::mutex> guard(state_);
    auto it = playedCounts_.find(data);
    return it == playedCounts_.end() ? 0 : it->second;
}

std::vector<HeadlessAudio::Write> HeadlessAudio::writes() const {
    std::lock_guard<std::mutex> guard(state_);
    return writes_;
}

int HeadlessAudio::openDeviceCount() const {
    std::lock_guard<std::mutex> guard(state_);
    return static_cast<int>(devices_.size());
}

int HeadlessAudio::openCount() const {
    std::lock_guard<std::mutex> guard(state_);
    return opens_;
}

void HeadlessAudio::clearRecord() {
    std::lock_guard<std::mutex> guard(state_);
    writeCounts_.clear();
    playedCounts_.clear();
    writes_.clear();
    opens_ = 0;
}

std::unique_ptr<AudioOutput> Headless::makeAudioOutput(const std::string&) {
    return std::make_unique<HeadlessAudio>();
}

HeadlessAudio& headlessAudio() { return static_cast<HeadlessAudio&>(*audioOutputFor(headlessDriver.name)); }

}  // namespace Arbor::Platform
