// tavizo-tool sound FILE: whether a ".wav" file loads as a character sound, and its
// format.
#include <cstdio>

#include "framework/Media/SoundLoader.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

int runSound(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tavizo-tool sound FILE\n");
        return 2;
    }
    const auto sound = Arbor::Media::loadSoundFile(Arbor::Text::fromUtf8(args[0]));
    if (!sound) {
        std::printf("invalid\n");
        return 1;
    }
    const auto& f = sound->format();
    std::printf("%u %u %u %u\n", unsigned(f.channels), unsigned(f.samplesPerSecond), unsigned(f.bitsPerSample),
                unsigned(sound->frameCount()));
    return 0;
}

}  // namespace

TAVIZO_TOOL_COMMAND(sound, "sound FILE", "prints 'channels rate bits frames' of a loadable .wav, else 'invalid'",
                    runSound);
