// upscale: the one entry point of the upscalers. Mode ids and names are in UpscalerCatalogue.h.
//
// Every mode chooses each output pixel by exact comparisons and writes it as a whole copy of the
// chosen source pixel, alpha included, so no pixel is invented: the result's pixels are a subset
// of the source's. Comparisons follow the match, by default as a viewer sees the pixels
// (PixelMatch.h). A source with alpha gives an RGBA result, one without an RGB result, whatever
// the source's channel order.
#pragma once

#include "image/PixelMatch.h"
#include "image/SheetLayout.h"
#include "image/Surface.h"

namespace loom {

// A new surface, the source enlarged by mode (an id of UpscalerCatalogue.h); the null surface for a
// null source. Throws std::invalid_argument for an unknown mode, ImageTooLargeExc, before
// allocating, when the result would pass the image limits, and std::bad_alloc when memory runs
// out; the source is never changed.
Surface upscale(const Surface& source, int mode, PixelMatch match = PixelMatch::Seen);
// The same with the picture's edges and cells as the layout says (SheetLayout.h).
Surface upscale(const Surface& source, int mode, PixelMatch match, const SheetLayout& layout);

// An uncleared factor x width by factor x height surface, RGBA when the source has alpha and RGB
// otherwise, packed rows, premultiplied when the source is. Throws ImageTooLargeExc when that
// size passes the image limits, SurfaceConstraintsExc when the source has no colour channels.
Surface makeScaledSurface(const Surface& source, int factor);

// Throws ImageTooLargeExc when factor x the source's size passes the image limits.
void checkScaledSize(const Surface& source, int factor);

}  // namespace loom
