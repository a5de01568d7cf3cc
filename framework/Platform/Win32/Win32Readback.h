#pragma once
// What tests of the Win32 backend read back from the system: the pixels the screen shows
// and clicks injected as real input. Declared without system types so that tests need
// no system header.
#include <cstdint>
#include <vector>

#include "framework/Platform/Types.h"

namespace Arbor::Platform::Win32::Inspection {

// The screen's pixels in the rectangle as 0xFFRRGGBB words, rows top down (what every
// window together shows there); empty on failure.
std::vector<std::uint32_t> screenPixels(const Rect& area);

// Moves the pointer to the screen point and presses and releases the left button as
// input from the mouse; false when the system refused the input.
bool click(int x, int y);

// Whether the process runs under Wine, which (as of Wine 8) neither blends layered
// windows on a display without a compositor nor hit-tests them by their alpha.
bool runsUnderWine();

}  // namespace Arbor::Platform::Win32::Inspection
