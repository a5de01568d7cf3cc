#pragma once
// The font kind of a character's resource cache: font files of the character registered
// for this process only, so that text can name their faces. A plain file is registered
// from disk, a package entry from memory; the registration goes with the cache.
#include <string_view>

#include "framework/Secure/ResourceCache.h"

namespace Arbor::Graphics {

// True when the file name ends in one of the font extensions the system registers:
// ".fon", ".fnt", ".ttf", ".ttc", ".fot", ".otf", ".mmm", ".pfb", ".pfm" (any case).
bool hasFontFileExtension(std::u16string_view name);

// Registers the font file `name` (relative to the character's data folder) once. False
// for an empty name, another extension, a missing file or data that holds no usable
// font; true when it is registered (now or before).
bool loadFontFile(Secure::ResourceCache& cache, std::u16string_view name);

}  // namespace Arbor::Graphics
