#pragma once
// The glyph service of the Linux backends (FreeType with fontconfig), one instance per
// call; both the headless and the X11 desktop take it through the host services.
#include <memory>

#include "framework/Platform/Glyphs.h"

namespace Arbor::Platform::FreeType {

std::unique_ptr<GlyphService> makeGlyphService();

}  // namespace Arbor::Platform::FreeType
