// Audio output of Windows: wave-out devices on the wave mapper with a function
// callback, and the master volume and mute of the default render endpoint through
// the Core Audio endpoint-volume interface.
#include <windows.h>
#include <mmsystem.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <cstdint>
#include <map>
#include <mutex>

#include "framework/Platform/AudioOutput.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

// The class and interfaces used for the master volume, by their published ids.
const CLSID kMMDeviceEnumerator = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
const IID kIMMDeviceEnumerator = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
const IID kIAudioEndpointVolume = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};

class Win32AudioDevice;

// Live devices by id. The driver's callback finds its device here, so a callback that
// races with a closing device finds nothing instead of freed memory; the callback only
// hands the notice on (no wave-out call is made in the driver's context).
std::mutex& registryLock() {
    static auto* lock = new std::mutex;
    return *lock;
}
std::map<std::uintptr_t, Win32AudioDevice*>& registry() {
    static auto* devices = new std::map<std::uintptr_t, Win32AudioDevice*>;
    return *devices;
}

class Win32AudioDevice final : public AudioDevice {
public:
    Win32AudioDevice(AudioDoneFunction onDone) : onDone_(std::move(onDone)) {
        static std::uintptr_t nextId = 1;
        std::lock_guard<std::mutex> guard(registryLock());
        id_ = nextId++;
        registry()[id_] = this;
    }

    bool open(const AudioFormat& format) {
        WAVEFORMATEX wfx{};
        wfx.wFormatTag = format.formatTag;
        wfx.nChannels = format.channels;
        wfx.nSamplesPerSec = format.samplesPerSecond;
        wfx.nAvgBytesPerSec = format.averageBytesPerSecond;
        wfx.nBlockAlign = format.blockAlign;
        wfx.wBitsPerSample = format.bitsPerSample;
        wfx.cbSize = 0;
        const MMRESULT rc = onDone_ ? waveOutOpen(&device_, WAVE_MAPPER, &wfx, reinterpret_cast<DWORD_PTR>(&callback),
                                                  static_cast<DWORD_PTR>(id_), CALLBACK_FUNCTION)
                                    : waveOutOpen(&device_, WAVE_MAPPER, &wfx, 0, 0, CALLBACK_NULL);
        if (rc != MMSYSERR_NOERROR) {
            device_ = nullptr;
            return false;
        }
        return true;
    }

    ~Win32AudioDevice() override {
        if (device_) {
            waveOutReset(device_);
            for (int i = 0; i < bufferCount; ++i) unprepare(i);
        }
        {
            // Waits for a callback that is handing on a notice right now.
            std::lock_guard<std::mutex> guard(registryLock());
            registry().erase(id_);
        }
        if (device_) waveOutClose(device_);
    }

    bool prepare(int buffer, const std::uint8_t* data, std::size_t length) override {
        if (!valid(buffer) || isQueued(buffer) || length > 0xFFFFFFFFu) return false;
        unprepare(buffer);
        WAVEHDR& h = headers_[buffer];
        h = WAVEHDR{};
        h.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(data));
        h.dwBufferLength = static_cast<DWORD>(length);
        h.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
        h.dwLoops = 1;
        if (waveOutPrepareHeader(device_, &h, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
        prepared_[buffer] = true;
        return true;
    }

    bool unprepare(int buffer) override {
        if (!valid(buffer) || isQueued(buffer)) return false;
        if (!prepared_[buffer]) return true;
        if (waveOutUnprepareHeader(device_, &headers_[buffer], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
        prepared_[buffer] = false;
        return true;
    }

    bool write(int buffer, std::uint32_t tag) override {
        if (!valid(buffer) || !prepared_[buffer] || isQueued(buffer)) return false;
        headers_[buffer].dwUser = tag;
        return waveOutWrite(device_, &headers_[buffer], sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
    }

    bool isQueued(int buffer) const override {
        if (!valid(buffer)) return false;
        // The driver changes the flags from its own thread.
        const volatile DWORD& flags = headers_[buffer].dwFlags;
        return (flags & WHDR_INQUEUE) != 0;
    }

    void reset() override { waveOutReset(device_); }
    void pause() override { waveOutPause(device_); }
    void restart() override { waveOutRestart(device_); }

private:
    static bool valid(int buffer) { return buffer >= 0 && buffer < bufferCount; }

    static void CALLBACK callback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR) {
        if (message != WOM_DONE) return;
        std::lock_guard<std::mutex> guard(registryLock());
        auto it = registry().find(static_cast<std::uintptr_t>(instance));
        if (it == registry().end()) return;
        Win32AudioDevice* self = it->second;
        const WAVEHDR* header = reinterpret_cast<const WAVEHDR*>(param1);
        const int buffer = header == &self->headers_[1] ? 1 : 0;
        self->onDone_(buffer, static_cast<std::uint32_t>(header->dwUser));
    }

    AudioDoneFunction onDone_;
    std::uintptr_t id_ = 0;
    HWAVEOUT device_ = nullptr;
    WAVEHDR headers_[bufferCount] = {};
    bool prepared_[bufferCount] = {false, false};
};

// Runs `use` on the default render endpoint's volume interface, inside its own COM
// apartment; false on any failure along the way.
template <class Use>
bool withEndpointVolume(Use&& use) {
    const HRESULT init = CoInitialize(nullptr);
    if (init != S_OK && init != S_FALSE) return false;
    bool ok = false;
    IMMDeviceEnumerator* enumerator = nullptr;
    if (CoCreateInstance(kMMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, kIMMDeviceEnumerator,
                         reinterpret_cast<void**>(&enumerator)) == S_OK &&
        enumerator) {
        IMMDevice* endpoint = nullptr;
        const HRESULT found = enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &endpoint);
        enumerator->Release();
        if (found == S_OK && endpoint) {
            IAudioEndpointVolume* volume = nullptr;
            const HRESULT activated =
                endpoint->Activate(kIAudioEndpointVolume, CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&volume));
            endpoint->Release();
            if (activated == S_OK && volume) {
                ok = use(*volume);
                volume->Release();
            }
        }
    }
    CoUninitialize();
    return ok;
}

class Win32Audio final : public AudioOutput {
public:
    std::unique_ptr<AudioDevice> open(const AudioFormat& format, AudioDoneFunction onDone) override {
        auto device = std::make_unique<Win32AudioDevice>(std::move(onDone));
        if (!device->open(format)) return nullptr;
        return device;
    }

    std::optional<float> masterVolume() override {
        float level = 0.0f;
        if (!withEndpointVolume([&](IAudioEndpointVolume& v) { return v.GetMasterVolumeLevelScalar(&level) == S_OK; }))
            return std::nullopt;
        return level;
    }

    bool setMasterVolume(float level) override {
        return withEndpointVolume(
            [&](IAudioEndpointVolume& v) { return v.SetMasterVolumeLevelScalar(level, nullptr) == S_OK; });
    }

    bool setMute(bool on) override {
        return withEndpointVolume([&](IAudioEndpointVolume& v) {
            const HRESULT hr = v.SetMute(on ? TRUE : FALSE, nullptr);
            return hr == S_OK || hr == S_FALSE;
        });
    }

    std::optional<bool> isMuted() override {
        BOOL muted = FALSE;
        if (!withEndpointVolume([&](IAudioEndpointVolume& v) {
                const HRESULT hr = v.GetMute(&muted);
                return hr == S_OK || hr == S_FALSE;
            }))
            return std::nullopt;
        return muted != FALSE;
    }
};

}  // namespace

std::unique_ptr<AudioOutput> Win32::makeAudioOutput(const std::string&) { return std::make_unique<Win32Audio>(); }

}  // namespace Arbor::Platform
