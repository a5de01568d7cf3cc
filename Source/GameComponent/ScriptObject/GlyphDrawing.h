#pragma once
// Putting one laid-out character into a 32-bit premultiplied surface: its underline
// bar, then its coverage in its colour (hard-edged for monochrome glyphs, composited
// source-over for gray ones). Everything is clipped to the surface.
#include "Source/GameComponent/ScriptObject/BalloonLayout.h"
#include "framework/Graphics/Painter.h"

namespace Quenta::GameComponent {

void drawCharItem(Arbor::Graphics::Painter& painter, const CharItem& item);

}  // namespace Quenta::GameComponent
