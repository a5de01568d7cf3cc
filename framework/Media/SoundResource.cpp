#include "framework/Media/SoundResource.h"

#include "framework/Media/SoundLoader.h"

namespace Arbor::Media {

std::shared_ptr<const Sound> cachedSound(Secure::ResourceCache& cache, std::u16string_view name) {
    // The extension is checked before any file is read.
    if (!hasWaveExtension(name)) return nullptr;
    return cache.cached<const Sound>(
        Secure::ResourceSlot::Sound, name, [](const Secure::ResourceBlob& blob) -> std::shared_ptr<const Sound> {
            return loadSoundMemory(blob.bytes.data(), blob.bytes.size(), blob.path);
        });
}

}  // namespace Arbor::Media
