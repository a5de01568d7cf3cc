#pragma once
// Reading ".wav" files into sounds. Only PCM is accepted, and the chunks must come in
// the fixed order "RIFF"/"WAVE", "fmt ", an optional "fact", then "data" with the
// whole sample block present; anything else is no sound.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "framework/Media/Sound.h"

namespace Arbor::Media {

// Parses wave bytes (no name check). Null on any failure.
std::unique_ptr<Sound> parseWave(const std::uint8_t* bytes, std::size_t length);

// A sound from memory; `name` must end in ".wav" (any letter case). Null otherwise.
std::unique_ptr<Sound> loadSoundMemory(const std::uint8_t* bytes, std::size_t length, std::u16string_view name);

// A sound from a file (system path with '\' separators); the name must end in ".wav".
// A path that does not exist is tried again below the program's directory.
std::unique_ptr<Sound> loadSoundFile(std::u16string_view path);

// True when the name's extension (from the last '.') is ".wav" after lower-casing.
bool hasWaveExtension(std::u16string_view name);

}  // namespace Arbor::Media
