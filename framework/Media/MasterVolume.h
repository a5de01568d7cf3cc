#pragma once
// The system's master volume and mute (the default output's), for scripts and voice
// commands. Failures are answers (-1, false, none), never reported further.
#include <optional>

#include "framework/Platform/AudioOutput.h"

namespace Arbor::Media {

// The master volume in 0..1, or -1 when it cannot be read.
double masterVolume();
double masterVolume(Platform::AudioOutput& output);

// Clamps x to 0..1 (a NaN is refused) and sets it at single precision.
bool setMasterVolume(double x);
bool setMasterVolume(Platform::AudioOutput& output, double x);

bool setMute(bool on);
bool setMute(Platform::AudioOutput& output, bool on);

// The mute state; none when it cannot be read.
std::optional<bool> isMuted();
std::optional<bool> isMuted(Platform::AudioOutput& output);

}  // namespace Arbor::Media
