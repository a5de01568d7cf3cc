#pragma once
// The pointing-hand cursor shown over link text, made once from a small picture so
// that every backend has it.
#include <memory>

#include "framework/Platform/Cursor.h"

namespace Quenta::GameComponent {

// Null when the backend cannot make cursors from pictures (the arrow stays).
std::shared_ptr<const Arbor::Platform::NativeCursor> linkCursor();

}  // namespace Quenta::GameComponent
