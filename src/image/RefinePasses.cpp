#include "image/RefinePasses.h"

#include <algorithm>

#include "image/PackedPixel.h"
#include "image/RefineRules.h"

namespace loom {

namespace {

// An N x N window of colour cells over 32-bit pixels.
template <int N>
struct LocalWindow {
    uint32_t cells[N][N];
    uint32_t* pixels[N][N];
    uint32_t& cell(int column, int row) { return cells[column][row]; }
};

// One step of the pass loop at anchor x: load with clamped columns (rows come clamped), apply
// the rule, write back column by column so the last duplicate of a pixel wins. No write-back
// when the rule set nothing: it would only restore what was loaded.
template <int N, class Rule>
void step(uint32_t* const* rows, int width, int x, Rule rule) {
    LocalWindow<N> w;
    for (int i = 0; i < N; ++i) {
        const int px = std::clamp(x - 1 + i, 0, width - 1);
        for (int j = 0; j < N; ++j) {
            w.pixels[i][j] = rows[j] + px;
            w.cells[i][j] = *w.pixels[i][j] & COLOUR_MASK;
        }
    }
    if (!rule(w)) return;
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j)
            *w.pixels[i][j] = (*w.pixels[i][j] & ALPHA_MASK) | w.cells[i][j];
}

template <int N, class Rule>
void passRow(const RowPlane& p, int y, Rule rule, FireMaskFn fires) {
    uint32_t* rows[N];
    for (int j = 0; j < N; ++j) rows[j] = p.row(std::clamp(y - 1 + j, 0, p.height - 1));
    const int width = p.width;
    const int lastInteriorX = width - N + 1;
    const bool interiorRow = y >= 1 && y <= p.height - N + 1;
    int x = 0;
    if (fires && interiorRow && lastInteriorX >= 1) {
        step<N>(rows, width, 0, rule);
        x = 1;
        while (x + 7 <= lastInteriorX) {
            const uint32_t bits = fires(rows, x);
            if (bits == 0) {
                x += 8;
                continue;
            }
            x += __builtin_ctz(bits);
            step<N>(rows, width, x, rule);
            ++x;
        }
    }
    for (; x < width; ++x) step<N>(rows, width, x, rule);
}

}  // namespace

int refineWindowSize(RefinePass pass) { return pass == RefinePass::Diagonal2x ? 4 : 3; }

void refineRow(RefinePass pass, const RowPlane& plane, int y, KernelPath path) {
    const bool avx2 = path == KernelPath::Avx2;
    switch (pass) {
    case RefinePass::IsolatedPixel:
        return passRow<3>(plane, y, isolatedPixelRule<LocalWindow<3>>,
                          avx2 ? isolatedPixelFiresAvx2 : nullptr);
    case RefinePass::Diagonal2x:
        return passRow<4>(plane, y, diagonal2xRule<LocalWindow<4>>,
                          avx2 ? diagonal2xFiresAvx2 : nullptr);
    case RefinePass::Corner3x:
        return passRow<3>(plane, y, corner3xRule<LocalWindow<3>>, avx2 ? corner3xFiresAvx2 : nullptr);
    case RefinePass::Diagonal3x:
        return passRow<3>(plane, y, diagonal3xRule<LocalWindow<3>>,
                          avx2 ? diagonal3xFiresAvx2 : nullptr);
    }
}

void refinePlane(RefinePass pass, const RowPlane& plane, KernelPath path) {
    if (plane.width <= 0) return;
    for (int y = 0; y < plane.height; ++y) refineRow(pass, plane, y, path);
}

}  // namespace loom
