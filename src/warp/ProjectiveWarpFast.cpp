// The fast loop of the projective warp: row by row for cache-friendly writes, in bands across the
// cores, source indices found by a row kernel (AVX2 where the processor has it), the channel order
// resolved once per image.
#include <vector>

#include "image/RowBands.h"
#include "warp/PixelCopy.h"
#include "warp/ProjectiveWarp.h"
#include "warp/RowCopy.h"
#include "warp/WarpRows.h"

namespace loom {

void warpProjective(const WarpQuad& destination, const Surface& source, const WarpQuad& sourceQuad,
                    const Surface& output, KernelPath path) {
    const Homography m = projectiveMapping(destination, sourceQuad);
    const auto rowKernel = path == KernelPath::Avx2 ? projectiveRowAvx2 : projectiveRowScalar;
    const SourceSize sourceSize{source.getWidth(), source.getHeight()};
    const int32_t width = output.getWidth();

    const bool done = withPixelCopy(source, output, [&](const auto& copy) {
        forRowBands(output.getHeight(), [&](int32_t y0, int32_t y1) {
            std::vector<int32_t> iu(static_cast<size_t>(width)), iv(static_cast<size_t>(width));
            for (int32_t y = y0; y < y1; ++y) {
                rowKernel(m, y, width, sourceSize, iu.data(), iv.data());
                copyRow(copy, source, output.getData(0, y), iu.data(), iv.data(), width);
            }
        });
    });
    if (!done) warpProjectiveReference(destination, source, sourceQuad, output);
}

}  // namespace loom
