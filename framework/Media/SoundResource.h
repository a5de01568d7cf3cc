#pragma once
// The sound kind of a character's resource cache: ".wav" files by name, parsed once.
#include <memory>
#include <string_view>

#include "framework/Media/Sound.h"
#include "framework/Secure/ResourceCache.h"

namespace Arbor::Media {

// The cached sound of `name` (relative to the character's data folder): the plain file
// first, else the package entry; null when neither gives a PCM wave file.
std::shared_ptr<const Sound> cachedSound(Secure::ResourceCache& cache, std::u16string_view name);

}  // namespace Arbor::Media
