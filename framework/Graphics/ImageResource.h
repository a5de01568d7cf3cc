#pragma once
// The image and cursor kinds of a character's resource cache.
#include <memory>
#include <string_view>

#include "framework/Graphics/Image32.h"
#include "framework/Platform/Cursor.h"
#include "framework/Secure/ResourceCache.h"

namespace Arbor::Graphics {

// The cached image of `name` (relative to the character's data folder): the plain file
// first, else the package entry. Null when neither decodes; failures are not cached. The
// image arrives as decoded (format 5); callers premultiply it before drawing, once, since
// the object is shared.
std::shared_ptr<Image32> cachedImage(Secure::ResourceCache& cache, std::u16string_view name);

// The cached cursor of `name`: a plain file through the system loader, a package entry
// through cursorFromMemory.
std::shared_ptr<const Platform::NativeCursor> cachedCursor(Secure::ResourceCache& cache,
                                                           std::u16string_view name);

}  // namespace Arbor::Graphics
