#pragma once
// What tests of the X11 backend read back from the server: the depth and pixels of a
// window, its shapes, where it really is, and clicks injected with XTest. Declared
// without X types so that tests need no X header.
#include <cstdint>
#include <optional>
#include <vector>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {
class DibSection;
}

namespace Arbor::Platform::X11::Inspection {

// True once the backend's connections are open.
bool connected();
// Whether the backend holds a compositing manager as running (its selection watch).
bool compositorRunning();
// Whether a window manager announces itself on the root window.
bool windowManagerRunning();

// The window's depth in bits; 0 when it is gone.
int windowDepth(WindowHandle window);
// Whether the window is mapped and all its ancestors are.
bool isViewable(WindowHandle window);
// The window's top-left corner on the screen as the server has it.
std::optional<Point> screenPosition(WindowHandle window);
// The window's top-left width x height pixels as 0xAARRGGBB words (the alpha byte as
// the server holds it; 0 for windows without alpha); empty on failure.
std::vector<std::uint32_t> windowPixels(WindowHandle window, int width, int height);
// The rectangles of the window's input shape (or its bounding shape).
std::vector<Rect> shapeRectangles(WindowHandle window, bool input);
// The input shape of the window's top-level ancestor (the window manager's frame, or
// the window itself where no manager took it): what clicks really meet.
std::vector<Rect> frameInputShape(WindowHandle window);

// Whether presenting the surface went through shared memory the server attached.
bool presentsFromSharedMemory(const DibSection& surface);

// Moves the pointer to the screen point and presses and releases the button (1 left,
// 3 right) through XTest; false where XTest is missing.
bool click(int x, int y, int button = 1);
// Presses or releases the key of a letter ('A' ... 'Z') through XTest.
bool letterKey(char letter, bool down);
// Presses and releases the key of a key symbol named as X names it ("Return",
// "Escape", "Tab") through XTest.
bool pressKey(const char* keySymName);
// The window with the keyboard focus as the server says.
WindowHandle focusWindow();

}  // namespace Arbor::Platform::X11::Inspection
