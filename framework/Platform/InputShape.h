#pragma once
// The part of a picture that takes clicks: the pixels whose alpha is not 0, as
// rectangles. Backends whose windows are rectangles (an input shape of X11, the record
// of the headless desktop) build their shape from it.
#include <cstdint>
#include <vector>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {

// Rectangles covering exactly the pixels with non-zero alpha (0xAARRGGBB words, rows
// `stride` words apart) of the top-left width x height part. Runs of one row become
// one rectangle each, and a run that repeats in the rows below grows downwards, so a
// picture with straight edges gives few rectangles. Nothing for a non-positive size.
std::vector<Rect> opaqueRegion(const std::uint32_t* pixels, int width, int height, int stride);

// Whether the point lies in one of the rectangles.
bool regionContains(const std::vector<Rect>& region, Point point);

}  // namespace Arbor::Platform
