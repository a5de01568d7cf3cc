// The headless desktop draws text with the host's glyphs: FreeType and fontconfig on
// Linux, exactly as the X11 desktop does, and GDI on Windows builds.
#include "framework/Platform/Glyphs.h"

namespace Arbor::Platform {

std::unique_ptr<GlyphService> Detail::makeHeadlessGlyphService() {
#if defined(_WIN32)
    return makeWin32GlyphService();
#else
    return makeFreeTypeGlyphService();
#endif
}

}  // namespace Arbor::Platform
