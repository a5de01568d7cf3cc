#pragma once
// Windows virtual-key codes as X key symbols: each code with the symbols of the key it
// names, most usual first (a keyboard has the key under one of them). Shared by key
// state queries and key injection.
#include <vector>

#include "framework/Platform/X11/X11Headers.h"

namespace Arbor::Platform::X11 {

// Empty for codes without a key here (mouse buttons, unassigned codes).
std::vector<KeySym> keySymsOfVirtualKey(int virtualKey);

// The key code of the first symbol the keyboard has; 0 when it has none.
KeyCode keyCodeOfVirtualKey(Display* display, int virtualKey);

}  // namespace Arbor::Platform::X11
