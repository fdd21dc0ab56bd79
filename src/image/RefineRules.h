// The rules of the four in-place refinement passes that follow the Scale kernels in the HQ modes.
// Each rule works on a window of pixel cells (any type with uint32_t& cell(column, row)) whose
// cell (1, 1) is the anchor, compares pixels with `same`, only ever copies an existing pixel
// whole, and returns whether it set any cell. The reference passes run them on a PixelWindow;
// the fast passes run them on a local window wherever the fast test says a rule fires.
#pragma once

#include <cstdint>

#include "image/PackedPixel.h"

namespace loom {

// 3 x 3: an anchor whose four edge neighbours share one other colour takes it.
template <class Window>
bool isolatedPixelRule(Window& w, PixelEquals same) {
    const uint32_t d = w.cell(0, 1);
    if (!same(d, w.cell(1, 1)) && same(d, w.cell(1, 0)) && same(d, w.cell(2, 1)) &&
        same(d, w.cell(1, 2))) {
        w.cell(1, 1) = d;
        return true;
    }
    return false;
}

// 4 x 4 around the 2 x 2 square P Q / R S whose top-left is the anchor: when one diagonal pair
// shares a colour that does not continue beyond the square and differs from the other pair, the
// other pair takes it. First the anti-diagonal Q-R, then the main diagonal P-S on the updated cells.
template <class Window>
bool diagonal2xRule(Window& w, PixelEquals same) {
    uint32_t& p = w.cell(1, 1);
    uint32_t& q = w.cell(2, 1);
    uint32_t& r = w.cell(1, 2);
    uint32_t& s = w.cell(2, 2);
    bool fired = false;
    if (same(q, r) && !same(q, w.cell(0, 3)) && !same(q, w.cell(3, 0)) && !same(q, p) && !same(q, s)) {
        s = q;
        p = q;
        fired = true;
    }
    if (same(p, s) && !same(p, w.cell(0, 0)) && !same(p, w.cell(3, 3)) && !same(p, q) && !same(p, r)) {
        r = p;
        q = p;
        fired = true;
    }
    return fired;
}

// 3 x 3: for each corner K in the order top-left, top-right, bottom-left, bottom-right, when the
// two edge neighbours beside K carry the centre's loaded colour and the two opposite edge
// neighbours and the two corners in line with K carry K's, K fills the centre and those two
// edge neighbours.
template <class Window>
bool corner3xRule(Window& w, PixelEquals same) {
    static constexpr int DIRECTIONS[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    const uint32_t e0 = w.cell(1, 1);
    bool fired = false;
    for (const auto& d : DIRECTIONS) {
        const int dx = d[0], dy = d[1];
        auto at = [&](int ox, int oy) -> uint32_t& { return w.cell(1 + ox, 1 + oy); };
        const uint32_t k = at(dx, dy);
        if (!same(k, e0) && same(at(dx, 0), e0) && same(at(0, dy), e0) && same(at(-dx, 0), k) &&
            same(at(0, -dy), k) && same(at(-dx, dy), k) && same(at(dx, -dy), k)) {
            at(0, dy) = k;
            at(dx, 0) = k;
            at(0, 0) = k;
            fired = true;
        }
    }
    return fired;
}

// 3 x 3: a diagonal line through the anchor whose four edge neighbours all differ from it thickens:
// the edge neighbours take the line's colour. Main diagonal first, then the anti-diagonal.
template <class Window>
bool diagonal3xRule(Window& w, PixelEquals same) {
    uint32_t& b = w.cell(1, 0);
    uint32_t& d = w.cell(0, 1);
    uint32_t& f = w.cell(2, 1);
    uint32_t& h = w.cell(1, 2);
    const uint32_t e = w.cell(1, 1);
    bool fired = false;
    const uint32_t a = w.cell(0, 0);
    if (same(a, e) && same(a, w.cell(2, 2)) && !same(a, d) && !same(a, h) && !same(a, b) &&
        !same(a, f)) {
        f = b = h = d = a;
        fired = true;
    }
    const uint32_t c = w.cell(2, 0);
    if (same(c, e) && same(c, w.cell(0, 2)) && !same(c, d) && !same(c, h) && !same(c, b) &&
        !same(c, f)) {
        f = b = h = d = c;
        fired = true;
    }
    return fired;
}

}  // namespace loom
