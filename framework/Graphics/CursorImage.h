#pragma once
// A cursor picture independent of any window system: straight-alpha pixels (format 5),
// top row first, and the hotspot (the pixel that points). It is the platform's own
// cursor picture, so a decoded cursor goes to the platform without a copy of types.
#include "framework/Platform/Cursor.h"

namespace Arbor::Graphics {

using CursorImage = Platform::CursorPixels;

}  // namespace Arbor::Graphics
