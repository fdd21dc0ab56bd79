// The reference kernels' loop: an input window reaching `reach` pixels around each source pixel E
// (clamped at the borders, PixelWindow.h) and a factor x factor output window on the block E
// produces, both moving in raster order. E is input cell (reach, reach).
#pragma once

#include "image/PixelWindow.h"

namespace loom {

template <class Kernel>
void runKernelLoop(const Surface& source, const Surface& output, int factor, int reach, Kernel kernel) {
    const int side = 2 * reach + 1;
    PixelWindow in(source, side, side, reach, reach);
    PixelWindow out(output, factor, factor, 0, 0);
    if (!in.isValid()) return;  // an empty source: nothing is read or written
    do {
        in.load(1);
        kernel(in, out);
    } while (out.store(factor));
}

}  // namespace loom
