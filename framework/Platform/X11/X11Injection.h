#pragma once
// Pointer and key input injected through XTest, for tests of the X11 backend (beside
// X11Readback.h, without X types).
namespace Arbor::Platform::X11::Inspection {

// Moves the pointer to the screen point; false where XTest is missing.
bool movePointer(int x, int y);
// Presses or releases a mouse button (1 left, 3 right) where the pointer is.
bool pressButton(int button, bool down);
// Presses and releases the key with that virtual-key code (arrows, Enter, Escape, ...).
bool tapKey(int virtualKey);

}  // namespace Arbor::Platform::X11::Inspection
