#pragma once
// The makers of the X11 backend's own services, gathered into its driver record
// (X11Driver.cpp).
#include <memory>
#include <string>

#include "framework/Platform/BackendDriver.h"

namespace Arbor::Platform::X11 {

// True when a connection to the display named by DISPLAY opens.
bool displayOpens();

// ALSA playback and mixer; `alsaConfiguration`, when not empty, replaces the system's
// ALSA configuration for this output's lookups.
std::unique_ptr<AudioOutput> makeAudioOutput(const std::string& alsaConfiguration);

}  // namespace Arbor::Platform::X11
