#include "framework/Media/MasterVolume.h"

#include <algorithm>
#include <cmath>

namespace Arbor::Media {

double masterVolume(Platform::AudioOutput& output) {
    const std::optional<float> level = output.masterVolume();
    if (!level || !std::isfinite(*level)) return -1.0;
    return std::clamp(static_cast<double>(*level), 0.0, 1.0);
}

bool setMasterVolume(Platform::AudioOutput& output, double x) {
    if (std::isnan(x)) return false;
    return output.setMasterVolume(static_cast<float>(std::clamp(x, 0.0, 1.0)));
}

bool setMute(Platform::AudioOutput& output, bool on) { return output.setMute(on); }

std::optional<bool> isMuted(Platform::AudioOutput& output) { return output.isMuted(); }

double masterVolume() { return masterVolume(Platform::audioOutput()); }
bool setMasterVolume(double x) { return setMasterVolume(Platform::audioOutput(), x); }
bool setMute(bool on) { return setMute(Platform::audioOutput(), on); }
std::optional<bool> isMuted() { return isMuted(Platform::audioOutput()); }

}  // namespace Arbor::Media
