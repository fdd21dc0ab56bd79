// Comparing what the window shows with the picture it should show.
#pragma once

#include "tools/Image.h"

namespace e2e {

using loom::testtools::Image;

// The background the application clears to (0.1 grey), allowing for the rounding of 25.5.
bool isBackground(const Image& screen, int x, int y);

// How many screen pixels inside the picture's place differ from it: the picture's pixel (px, py)
// should cover the screen square of side `scale` at (left + px * scale, top + py * scale).
// Transparent pixels are skipped (their colour is not the picture's). -1 when the place does not
// fit on the screen or either image is missing.
long mismatches(const Image& screen, const Image& picture, int left, int top, int scale);

// The same for a picture stretched over the screen rectangle (left, top, width, height): each
// screen pixel centre is mapped back into the picture.
long stretchedMismatches(const Image& screen, const Image& picture, int left, int top, int width,
                         int height);

// How many screen pixels where the picture (placed as for mismatches) is transparent do not show
// the checkerboard laid on the window: squares of 8 screen pixels, greys 153 and 204, in whichever
// of its two phases fits. -1 as for mismatches.
long checkerMismatches(const Image& screen, const Image& picture, int left, int top, int scale);

// Screen pixels of the rectangle that show neither an opaque colour of the picture nor a
// checkerboard grey: colours the view made up.
long madeUpColours(const Image& screen, const Image& picture, int left, int top, int width, int height);

// Pixels where two images of one size differ in any channel; -1 when the sizes differ.
long differingPixels(const Image& a, const Image& b);

// Screen pixels of the rectangle that differ between two grabs of one window.
long changedPixels(const Image& before, const Image& after, int left, int top, int width, int height);

}  // namespace e2e
