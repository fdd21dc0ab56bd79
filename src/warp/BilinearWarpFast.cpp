// The fast loop of the bilinear warp: row by row in bands across the cores, source indices found
// by a row kernel (AVX2 where the processor has it), the channel order resolved once per image.
#include <vector>

#include "image/RowBands.h"
#include "warp/BilinearWarp.h"
#include "warp/PixelCopy.h"
#include "warp/RowCopy.h"
#include "warp/SquareToQuad.h"
#include "warp/WarpRows.h"

namespace loom {

namespace {

// True when the matrix only scales: (s, t) maps to (m0 s, m4 t) with W = 1, as for the axis-aligned
// source rectangle that warp() always passes. Then X = m0 s + (0 t + 0) and W = 1 whenever s and t
// are finite, so u = m0 s and v = m4 t exactly (up to the sign of a zero, which truncation
// ignores); a non-finite s or t puts the pixel outside in both forms.
bool isScaling(const Homography& q) {
    return q.m[1] == 0 && q.m[2] == 0 && q.m[3] == 0 && q.m[5] == 0 && q.m[6] == 0 && q.m[7] == 0 &&
           q.m[8] == 1;
}

}  // namespace

void warpBilinear(const WarpQuad& destination, const Surface& source, const WarpQuad& sourceQuad,
                  const Surface& output, KernelPath path) {
    const Homography q = squareToQuadPrecise(sourceQuad);
    if (!isScaling(q)) {
        // Only a source quad other than the image's rectangle gets here; warp() never passes one.
        warpBilinearReference(destination, source, sourceQuad, output);
        return;
    }
    const auto rowKernel = path == KernelPath::Avx2 ? bilinearRowAvx2 : bilinearRowScalar;
    const SourceSize sourceSize{source.getWidth(), source.getHeight()};
    const int32_t width = output.getWidth();

    const bool done = withPixelCopy(source, output, [&](const auto& copy) {
        forRowBands(output.getHeight(), [&](int32_t y0, int32_t y1) {
            std::vector<int32_t> iu(static_cast<size_t>(width)), iv(static_cast<size_t>(width));
            for (int32_t y = y0; y < y1; ++y) {
                rowKernel(destination.corners, q.m[0], q.m[4], y, width, sourceSize, iu.data(),
                          iv.data());
                copyRow(copy, source, output.getData(0, y), iu.data(), iv.data(), width);
            }
        });
    });
    if (!done) warpBilinearReference(destination, source, sourceQuad, output);
}

}  // namespace loom
