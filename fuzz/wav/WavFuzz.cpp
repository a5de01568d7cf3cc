// Arbitrary bytes as a ".wav" file: parsing must never read outside the bytes, and a
// sound that parses must describe exactly its own sample block and play (or be
// refused) without trouble.
#include <cstdint>
#include <cstdlib>

#include "framework/Media/SoundLoader.h"
#include "framework/Media/WaveOutAudio.h"
#include "framework/Platform/Headless/HeadlessAudio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace Arbor::Media;
    auto sound = loadSoundMemory(data, size, u"fuzz.wav");
    if (!sound) return 0;
    const WaveHeader& h = sound->header();
    if (sound->format().formatTag != 1 || h.data != sound->samples().data() ||
        h.bufferLength != sound->samples().size() || h.bufferLength > size || h.flags != 12 || h.loops != 1)
        std::abort();

    static Arbor::Platform::HeadlessAudio output;
    WaveOutAudio player(output);
    player.setLoops(1);
    if (player.play(sound.get())) {
        output.advance(3600 * 1000);
        WomDoneDispatcher::instance().flush();
        output.advance(3600 * 1000);
        WomDoneDispatcher::instance().flush();
    }
    player.stop();
    output.clearRecord();
    return 0;
}
