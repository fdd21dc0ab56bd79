#include "image/RefinePasses.h"

#include "image/RefineRules.h"
#include "image/RefineStep.h"

namespace loom {

namespace {

// Anchors in raster order; interior anchors on a flat stretch of their row are skipped.
template <int N, class Rule>
void passRowScalar(const RowPlane& p, int y, Rule rule, PixelEquals same) {
    uint32_t* rows[N];
    for (int j = 0; j < N; ++j) rows[j] = p.row(std::clamp(y - 1 + j, 0, p.height - 1));
    const int width = p.width;
    for (int x = 0; x < width; ++x)
        if (x == 0 || x == width - 1 || !flatAround(rows[1], x, same))
            refineStep<N>(rows, width, x, rule, same);
}

}  // namespace

int refineWindowSize(RefinePass pass) { return pass == RefinePass::Diagonal2x ? 4 : 3; }

void refineRow(RefinePass pass, const RowPlane& plane, int y, KernelPath path, PixelEquals same) {
    if (path == KernelPath::Avx2) return refineRowAvx2(pass, plane, y, same);
    switch (pass) {
        case RefinePass::IsolatedPixel:
            return passRowScalar<3>(
                plane, y, [](auto& w, PixelEquals eq) { return isolatedPixelRule(w, eq); }, same);
        case RefinePass::Diagonal2x:
            return passRowScalar<4>(
                plane, y, [](auto& w, PixelEquals eq) { return diagonal2xRule(w, eq); }, same);
        case RefinePass::Corner3x:
            return passRowScalar<3>(
                plane, y, [](auto& w, PixelEquals eq) { return corner3xRule(w, eq); }, same);
        case RefinePass::Diagonal3x:
            return passRowScalar<3>(
                plane, y, [](auto& w, PixelEquals eq) { return diagonal3xRule(w, eq); }, same);
    }
}

void refinePlane(RefinePass pass, const RowPlane& plane, KernelPath path, PixelEquals same) {
    if (plane.width <= 0) return;
    for (int y = 0; y < plane.height; ++y) refineRow(pass, plane, y, path, same);
}

}  // namespace loom
