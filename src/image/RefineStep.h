// One step of an in-place pass at one anchor, on 32-bit pixel rows: the window machinery's
// load, rule and write-back in its exact order, so that at the borders the clamped duplicates
// behave as defined (last write wins). Shared by the scalar and the SIMD pass rows.
#pragma once

#include <algorithm>
#include <cstdint>

#include "image/PackedPixel.h"

namespace loom {

template <int N>
struct LocalWindow {
    uint32_t cells[N][N];
    uint32_t* pixels[N][N];
    uint32_t& cell(int column, int row) { return cells[column][row]; }
};

// rows[j] is the (clamped) image row y - 1 + j; columns are clamped here. No write-back when the
// rule set nothing: it would only restore what was loaded.
template <int N, class Rule>
inline void refineStep(uint32_t* const* rows, int width, int x, Rule rule, PixelEquals same) {
    LocalWindow<N> w;
    for (int i = 0; i < N; ++i) {
        const int px = std::clamp(x - 1 + i, 0, width - 1);
        for (int j = 0; j < N; ++j) {
            w.pixels[i][j] = rows[j] + px;
            w.cells[i][j] = *w.pixels[i][j];
        }
    }
    if (!rule(w, same)) return;
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) *w.pixels[i][j] = w.cells[i][j];
}

// The same step at an anchor whose window lies inside the image: no two cells share a pixel, so
// no clamping is needed.
template <int N, class Rule>
inline void refineStepInterior(uint32_t* const* rows, int x, Rule rule, PixelEquals same) {
    LocalWindow<N> w;
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) w.cells[i][j] = rows[j][x - 1 + i];
    if (!rule(w, same)) return;
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) rows[j][x - 1 + i] = w.cells[i][j];
}

// Every rule needs the anchor to differ from its left or right neighbour (the isolated
// pixel and the 3x diagonal from the left, the 2x diagonal from the right, the 3x corner from
// either), so an anchor whose row is flat around it cannot fire.
inline bool flatAround(const uint32_t* row, int x, PixelEquals same) {
    return same(row[x - 1], row[x]) && same(row[x], row[x + 1]);
}

}  // namespace loom
