// Parts of pictures as pictures of their own, for upscaling a tile with its edges wrapped or each
// cell of a sheet alone. Pixels are copied whole; the surfaces made are RGBA when the source has
// alpha and RGB otherwise, as the upscalers make them.
#pragma once

#include "image/Surface.h"
#include "math/Rect.h"

namespace loom {

// A new surface holding the source's pixels in area (which lies inside the source).
Surface copyArea(const Surface& source, const Area& area);

// A new surface: the source surrounded by padX columns on the left and right and padY rows above
// and below taken from the opposite side, as if the source were laid edge to edge.
Surface wrapPadded(const Surface& source, int32_t padX, int32_t padY);

// Copies the pixels of from's area into `into` with the area's corner at (x, y); both surfaces
// have the same channel order, and the area lands inside `into`.
void pasteArea(const Surface& from, const Area& area, const Surface& into, int32_t x, int32_t y);

// A new surface: the source turned a quarter turn clockwise (or counter-clockwise), as sprite
// sheets store sprites turned to pack them tighter.
Surface turnedClockwise(const Surface& source);
Surface turnedCounterClockwise(const Surface& source);

// A new width x height surface with alpha, transparent but for the source (which has alpha and
// fits) with its corner at (x, y).
Surface paddedWithTransparency(const Surface& source, int32_t width, int32_t height, int32_t x,
                               int32_t y);

}  // namespace loom
