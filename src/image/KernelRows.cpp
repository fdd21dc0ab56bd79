#include "image/KernelRows.h"

#include "image/KernelBlocks.h"

namespace loom {

void scale2xRowScalar(const uint32_t* above, const uint32_t* row, const uint32_t* below, int width,
                      PixelEquals same, uint32_t* const* out) {
    for (int x = 0; x < width; ++x)
        scale2xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 2 * x, out[1] + 2 * x);
}

void scale3xRowScalar(const uint32_t* above, const uint32_t* row, const uint32_t* below, int width,
                      PixelEquals same, uint32_t* const* out) {
    for (int x = 0; x < width; ++x)
        scale3xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 3 * x, out[1] + 3 * x,
                     out[2] + 3 * x);
}

void eagle2xRowScalar(const uint32_t* above, const uint32_t* row, const uint32_t* below, int width,
                      PixelEquals same, uint32_t* const* out) {
    for (int x = 0; x < width; ++x)
        eagle2xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 2 * x, out[1] + 2 * x);
}

KernelRowFn kernelRow(Kernel kernel, KernelPath path) {
    const bool avx2 = path == KernelPath::Avx2;
    switch (kernel) {
        case Kernel::Scale2x: return avx2 ? scale2xRowAvx2 : scale2xRowScalar;
        case Kernel::Scale3x: return avx2 ? scale3xRowAvx2 : scale3xRowScalar;
        default: return avx2 ? eagle2xRowAvx2 : eagle2xRowScalar;
    }
}

int kernelFactor(Kernel kernel) { return kernel == Kernel::Scale3x ? 3 : 2; }

}  // namespace loom
