#include "image/KernelRows.h"

#include "image/KernelBlocks.h"
#include "image/MmpxBlock.h"

namespace loom {

void scale2xRowScalar(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    const uint32_t *above = in[0], *row = in[1], *below = in[2];
    for (int x = 0; x < width; ++x)
        scale2xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 2 * x, out[1] + 2 * x);
}

void scale3xRowScalar(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    const uint32_t *above = in[0], *row = in[1], *below = in[2];
    for (int x = 0; x < width; ++x)
        scale3xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 3 * x, out[1] + 3 * x,
                     out[2] + 3 * x);
}

void eagle2xRowScalar(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    const uint32_t *above = in[0], *row = in[1], *below = in[2];
    for (int x = 0; x < width; ++x)
        eagle2xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 2 * x, out[1] + 2 * x);
}

void mmpx2xRowScalar(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    for (int x = 0; x < width; ++x) {
        uint32_t *top = out[0] + 2 * x, *bottom = out[1] + 2 * x;
        if (x < 3 || x >= width - 3)
            mmpxBlock<true>(in, x, width, same, top, bottom);
        else
            mmpxBlock<false>(in, x, width, same, top, bottom);
    }
}

KernelRowFn kernelRow(Kernel kernel, KernelPath path) {
    const bool avx2 = path == KernelPath::Avx2;
    switch (kernel) {
        case Kernel::Scale2x: return avx2 ? scale2xRowAvx2 : scale2xRowScalar;
        case Kernel::Scale3x: return avx2 ? scale3xRowAvx2 : scale3xRowScalar;
        case Kernel::Eagle2x: return avx2 ? eagle2xRowAvx2 : eagle2xRowScalar;
        case Kernel::Mmpx2x: return avx2 ? mmpx2xRowAvx2 : mmpx2xRowScalar;
    }
    return nullptr;
}

int kernelFactor(Kernel kernel) { return kernel == Kernel::Scale3x ? 3 : 2; }

int kernelReach(Kernel kernel) { return kernel == Kernel::Mmpx2x ? 3 : 1; }

}  // namespace loom
