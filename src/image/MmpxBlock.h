// One source pixel's MMPX 2x block on 32-bit pixels (PackedPixel.h), for the fast rows: the same
// pixels as the reference (ReferenceMmpx.cpp, which names the neighbours), computed on keys made
// once, with a shortcut for the pixels where no rule can fire, and rules sharing a guard grouped
// under it.
#pragma once

#include <algorithm>
#include <cstdint>

#include "image/MmpxBrightness.h"

namespace loom {

// The block of pixel x of the middle one of `rows`, the seven rows from three above to three
// below (clamped by the caller). CLAMP_COLUMNS: reads left of column 0 or right of width - 1 take
// the edge column; without it, x must be 3 to width - 4.
template <bool CLAMP_COLUMNS>
inline void mmpxBlock(const uint32_t* const* rows, int x, int width, PixelEquals same, uint32_t* top,
                      uint32_t* bottom) {
    const auto at = [&](int dx, int dy) {
        return rows[3 + dy][CLAMP_COLUMNS ? std::clamp(x + dx, 0, width - 1) : x + dx];
    };
    const auto key = [&](int dx, int dy) { return same.key(at(dx, dy)); };
    const uint32_t e = at(0, 0), b = at(0, -1), d = at(-1, 0), f = at(1, 0), h = at(0, 1);
    const uint32_t ke = same.key(e), kb = same.key(b), kd = same.key(d), kf = same.key(f),
                   kh = same.key(h);
    // Every rule needs two edge neighbours unlike E (each tests two of them against E, directly or
    // through a third), so a pixel unlike at most one of them, as in flat areas and along straight
    // edges, keeps a plain block.
    if (int(kb != ke) + int(kd != ke) + int(kf != ke) + int(kh != ke) < 2) {
        top[0] = top[1] = bottom[0] = bottom[1] = e;
        return;
    }
    const uint32_t ka = key(-1, -1), kc = key(1, -1), kg = key(-1, 1), ki = key(1, 1);
    const uint32_t kp = key(0, -2), kq = key(-2, 0), kr = key(2, 0), ks = key(0, 2);
    const uint32_t le = mmpxBrightness(e, same), lb = mmpxBrightness(b, same),
                   ld = mmpxBrightness(d, same), lf = mmpxBrightness(f, same),
                   lh = mmpxBrightness(h, same);
    uint32_t j = e, k = e, l = e, m = e;

    // Stage 1: two edge neighbours that agree take the corner between them.
    const bool eA = ke == ka, eC = ke == kc, eG = ke == kg, eI = ke == ki;
    if (kd == kb && kd != kh && kd != kf && (le >= ld || eA) && (eA || eC || eG) &&
        (le < ld || ka != kd || kp != ke || kq != ke))
        j = d;
    if (kb == kf && kb != kd && kb != kh && (le >= lb || eC) && (eA || eC || eI) &&
        (le < lb || kc != kb || kp != ke || kr != ke))
        k = b;
    if (kh == kd && kh != kf && kh != kb && (le >= lh || eG) && (eA || eG || eI) &&
        (le < lh || kg != kh || ks != ke || kq != ke))
        l = h;
    if (kf == kh && kf != kb && kf != kd && (le >= lf || eI) && (eC || eG || eI) &&
        (le < lf || ki != kh || kr != ke || ks != ke))
        m = f;

    // Stage 2: a run of E's colour ending against another colour; a one-pixel tip.
    if (kb == kh) {
        if (kh == kf && ke != kf && eC && eI && kd == ke && kq == ke && key(3, 0) != kf) k = m = f;
        if (kh == kd && ke != kd && eA && eG && kf == ke && kr == ke && key(-3, 0) != kd) j = l = d;
    }
    if (kd == kf) {
        if (kf == kh && ke != kh && eG && eI && kb == ke && kp == ke && key(0, 3) != kh) l = m = h;
        if (kf == kb && ke != kb && eA && eC && kh == ke && ks == ke && key(0, -3) != kb) j = k = b;
    }
    if (lb < le && eG && kh == ke && eI && ks == ke && !eA && !eC && kd != ke && kf != ke) j = k = b;
    if (lh < le && eA && kb == ke && eC && kp == ke && kd != ke && kf != ke && !eG && !eI) l = m = h;
    if (lf < le && eA && kd == ke && eG && kq == ke && kb != ke && !eC && kh != ke && !eI) k = m = f;
    if (ld < le && eC && kf == ke && eI && kr == ke && !eA && kb != ke && !eG && kh != ke) j = l = d;

    // Stage 3: a 2:1 staircase carried through the block, copying current block pixels.
    if (kh != kb) {
        if (kh != ka && kh != ke && kh != kc) {
            if (kh == kg && kh == kf && kh == kr && kh != kd && kh != key(2, -1)) l = m;
            if (kh == ki && kh == kd && kh == kq && kh != kf && kh != key(-2, -1)) m = l;
        }
        if (kb != kg && kb != ke && kb != ki) {
            if (kb == ka && kb == kf && kb == kr && kb != kd && kb != key(2, 1)) j = k;
            if (kb == kc && kb == kd && kb == kq && kb != kf && kb != key(-2, 1)) k = j;
        }
    }
    if (kf != kd) {
        if (kd != kc && kd != ke && kd != ki) {
            if (kd == ka && kd == kh && kd == ks && kd != kb && kd != key(1, 2)) j = l;
            if (kd == kg && kd == kb && kd == kp && kd != kh && kd != key(1, -2)) l = j;
        }
        if (kf != ka && kf != ke && kf != kg) {
            if (kf == kc && kf == kh && kf == ks && kf != kb && kf != key(-1, 2)) k = m;
            if (kf == ki && kf == kb && kf == kp && kf != kh && kf != key(-1, -2)) m = k;
        }
    }
    top[0] = j, top[1] = k, bottom[0] = l, bottom[1] = m;
}

}  // namespace loom
