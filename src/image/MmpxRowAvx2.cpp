// MMPX 2x eight source pixels at a time with AVX2: every rule of the reference (ReferenceMmpx.cpp,
// which names the neighbours) as a lane mask, in the reference's order, so that a later rule's
// blend overwrites an earlier one's and stage 3 blends in the block's current values. A chunk
// where no rule can fire on any of its 8 pixels (flat areas, straight edges and outlines,
// dithering: most of pixel art) is plain blocks, and skips the rules. The three first and last columns,
// where reads clamp, and rows too narrow for a chunk go through the scalar block (MmpxBlock.h). The
// masks combine with GCC's vector operators (&, |, ~) for legibility.
#include "image/KernelRows.h"
#include "image/MmpxBlock.h"

#if defined(__x86_64__) || defined(__i386__)

#pragma GCC target("avx2")
#include "image/Avx2Util.h"

namespace loom {

namespace {

using namespace avx2;

// The brightness key of MmpxBrightness.h in each lane, of the pixel, or under Seen of its key.
inline __m256i brightness(__m256i p) {
    const __m256i byte = _mm256_set1_epi32(0xFF);
    const __m256i sum =
        _mm256_add_epi32(_mm256_add_epi32(p & byte, _mm256_srli_epi32(p, 8) & byte),
                         _mm256_add_epi32(_mm256_srli_epi32(p, 16) & byte, _mm256_set1_epi32(1)));
    return _mm256_mullo_epi32(sum, _mm256_sub_epi32(_mm256_set1_epi32(256), _mm256_srli_epi32(p, 24)));
}

// All ones where a < b (keys are below 2^31, so a signed compare is exact).
inline __m256i less(__m256i a, __m256i b) { return _mm256_cmpgt_epi32(b, a); }

// All ones where at least two of the four masks are.
inline __m256i twoOf(__m256i nB, __m256i nD, __m256i nF, __m256i nH) {
    return (nB & (nD | nF | nH)) | (nD & (nF | nH)) | (nF & nH);
}

template <bool SEEN>
void mmpx2xRow(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    if (width < 14) return mmpx2xRowScalar(in, width, same, out);
    for (int x : {0, 1, 2, width - 3, width - 2, width - 1})
        mmpxBlock<true>(in, x, width, same, out[0] + 2 * x, out[1] + 2 * x);
    const __m256i match = laneMask(same.mask);
    const auto plainBlocks = [&](int x, __m256i e) {
        storeInterleaved2(out[0] + 2 * x, e, e);
        storeInterleaved2(out[1] + 2 * x, e, e);
    };
    forChunks(3, width - 3, [&](int x) {
        const auto pixels = [&](int dx, int dy) { return load(in[3 + dy] + x + dx); };
        const auto key = [&](int dx, int dy) { return keys<SEEN>(pixels(dx, dy), match); };
        const __m256i e = pixels(0, 0), b = pixels(0, -1), d = pixels(-1, 0), f = pixels(1, 0),
                      h = pixels(0, 1);
        // Identical pixels are alike under every rule: most chunks end here, before any key.
        if (laneBits(twoOf(~eq(e, b), ~eq(e, d), ~eq(e, f), ~eq(e, h))) == 0) return plainBlocks(x, e);
        const __m256i ke = keys<SEEN>(e, match), kb = keys<SEEN>(b, match), kd = keys<SEEN>(d, match),
                      kf = keys<SEEN>(f, match), kh = keys<SEEN>(h, match);
        const __m256i eB = eq(ke, kb), eD = eq(ke, kd), eF = eq(ke, kf), eH = eq(ke, kh);
        const __m256i nB = ~eB, nD = ~eD, nF = ~eF, nH = ~eH;
        const __m256i twoUnlike = twoOf(nB, nD, nF, nH);
        if (laneBits(twoUnlike) == 0) return plainBlocks(x, e);
        const __m256i ka = key(-1, -1), kc = key(1, -1), kg = key(-1, 1), ki = key(1, 1);
        const __m256i eA = eq(ke, ka), eC = eq(ke, kc), eG = eq(ke, kg), eI = eq(ke, ki);
        const __m256i dB = eq(kd, kb), dH = eq(kd, kh), dF = eq(kd, kf);
        const __m256i bF = eq(kb, kf), bH = eq(kb, kh), fH = eq(kf, kh);
        // What each group of rules needs at the least, cheap to test: stage 1 two adjacent edge
        // neighbours alike, unlike the other two, and E like a diagonal one; 2a-2d three alike
        // and the fourth like E; 2e-2h three of E's colour in a row on one side and the sides
        // unlike E; stage 3 two adjacent edge neighbours alike, unlike E and like the diagonal
        // one beyond, and two opposite ones not alike. Inside a checkerboard, along outlines and
        // straight edges none holds.
        const __m256i corners = (dB & ~dH & ~dF & (eA | eC | eG)) | (bF & ~dB & ~bH & (eA | eC | eI)) |
                                (dH & ~fH & ~bH & (eA | eG | eI)) | (fH & ~bF & ~dF & (eC | eG | eI));
        const __m256i runs = (bH & ((fH & eD) | (dH & eF))) | (dF & ((fH & eB) | (bF & eH)));
        const __m256i tips = (((eG & eH & eI) | (eA & eB & eC)) & nD & nF) |
                             (((eA & eD & eG) | (eC & eF & eI)) & nB & nH);
        const __m256i slopes = (~bH & ((nH & ((fH & eq(kh, kg)) | (dH & eq(kh, ki)))) |
                                       (nB & ((bF & eq(kb, ka)) | (dB & eq(kb, kc)))))) |
                               (~dF & ((nD & ((dH & eq(kd, ka)) | (dB & eq(kd, kg)))) |
                                       (nF & ((fH & eq(kf, kc)) | (bF & eq(kf, ki))))));
        const uint32_t stage1 = laneBits(twoUnlike & corners), stage2ad = laneBits(twoUnlike & runs);
        const uint32_t stage2eh = laneBits(twoUnlike & tips), stage3 = laneBits(twoUnlike & slopes);
        if ((stage1 | stage2ad | stage2eh | stage3) == 0) return plainBlocks(x, e);
        const __m256i kp = key(0, -2), kq = key(-2, 0), kr = key(2, 0), ks = key(0, 2);
        const __m256i eP = eq(ke, kp), eQ = eq(ke, kq), eR = eq(ke, kr), eS = eq(ke, ks);
        __m256i j = e, k = e, l = e, m = e;
        const auto stageTwoRuns = [&] {
            const __m256i r2a = ~eF & eC & eI & eD & eQ & bH & fH & ~eq(key(3, 0), kf);
            k = take(r2a, f, k), m = take(r2a, f, m);
            const __m256i r2b = ~eD & eA & eG & eF & eR & bH & dH & ~eq(key(-3, 0), kd);
            j = take(r2b, d, j), l = take(r2b, d, l);
            const __m256i r2c = ~eH & eG & eI & eB & eP & dF & fH & ~eq(key(0, 3), kh);
            l = take(r2c, h, l), m = take(r2c, h, m);
            const __m256i r2d = ~eB & eA & eC & eH & eS & dF & bF & ~eq(key(0, -3), kb);
            j = take(r2d, b, j), k = take(r2d, b, k);
        };
        // Stage 1, then 2a-2d, then 2e-2h, each group only when some pixel may need it.
        if (stage1 | stage2eh) {
            const auto lum = [&](__m256i p, __m256i k) { return brightness(SEEN ? k : p); };
            const __m256i le = lum(e, ke), lb = lum(b, kb), ld = lum(d, kd), lf = lum(f, kf),
                          lh = lum(h, kh);
            const __m256i darkerThanB = less(le, lb), darkerThanD = less(le, ld);
            const __m256i darkerThanF = less(le, lf), darkerThanH = less(le, lh);
            if (stage1) {
                j = take(dB & ~dH & ~dF & (~darkerThanD | eA) & (eA | eC | eG) &
                             ~(~darkerThanD & eq(ka, kd) & eP & eQ),
                         d, j);
                k = take(bF & ~dB & ~bH & (~darkerThanB | eC) & (eA | eC | eI) &
                             ~(~darkerThanB & eq(kc, kb) & eP & eR),
                         b, k);
                l = take(dH & ~fH & ~bH & (~darkerThanH | eG) & (eA | eG | eI) &
                             ~(~darkerThanH & eq(kg, kh) & eS & eQ),
                         h, l);
                m = take(fH & ~bF & ~dF & (~darkerThanF | eI) & (eC | eG | eI) &
                             ~(~darkerThanF & eq(ki, kh) & eR & eS),
                         f, m);
            }
            if (stage2ad) stageTwoRuns();
            if (stage2eh) {
                const __m256i r2e = less(lb, le) & eG & eH & eI & eS & ~(eA | eC | eD | eF);
                j = take(r2e, b, j), k = take(r2e, b, k);
                const __m256i r2f = less(lh, le) & eA & eB & eC & eP & ~(eD | eF | eG | eI);
                l = take(r2f, h, l), m = take(r2f, h, m);
                const __m256i r2g = less(lf, le) & eA & eD & eG & eQ & ~(eB | eC | eH | eI);
                k = take(r2g, f, k), m = take(r2g, f, m);
                const __m256i r2h = less(ld, le) & eC & eF & eI & eR & ~(eA | eB | eG | eH);
                j = take(r2h, d, j), l = take(r2h, d, l);
            }
        } else if (stage2ad) {
            stageTwoRuns();
        }
        if (stage3) {
            // Each rule copies the block's current pixel.
            const __m256i v1 = ~bH & ~(eq(kh, ka) | eH | eq(kh, kc));
            l = take(v1 & eq(kh, kg) & fH & eq(kh, kr) & ~dH & ~eq(kh, key(2, -1)), m, l);
            m = take(v1 & eq(kh, ki) & dH & eq(kh, kq) & ~fH & ~eq(kh, key(-2, -1)), l, m);
            const __m256i v2 = ~bH & ~(eq(kb, kg) | eB | eq(kb, ki));
            j = take(v2 & eq(kb, ka) & bF & eq(kb, kr) & ~dB & ~eq(kb, key(2, 1)), k, j);
            k = take(v2 & eq(kb, kc) & dB & eq(kb, kq) & ~bF & ~eq(kb, key(-2, 1)), j, k);
            const __m256i h1 = ~dF & ~(eq(kd, kc) | eD | eq(kd, ki));
            j = take(h1 & eq(kd, ka) & dH & eq(kd, ks) & ~dB & ~eq(kd, key(1, 2)), l, j);
            l = take(h1 & eq(kd, kg) & dB & eq(kd, kp) & ~dH & ~eq(kd, key(1, -2)), j, l);
            const __m256i h2 = ~dF & ~(eq(kf, ka) | eF | eq(kf, kg));
            k = take(h2 & eq(kf, kc) & fH & eq(kf, ks) & ~bF & ~eq(kf, key(-1, 2)), m, k);
            m = take(h2 & eq(kf, ki) & bF & eq(kf, kp) & ~fH & ~eq(kf, key(-1, -2)), k, m);
        }
        storeInterleaved2(out[0] + 2 * x, j, k);
        storeInterleaved2(out[1] + 2 * x, l, m);
    });
}

}  // namespace

void mmpx2xRowAvx2(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    (same.seen() ? mmpx2xRow<true> : mmpx2xRow<false>)(in, width, same, out);
}

}  // namespace loom

#else  // no AVX2 on this architecture: the scalar row stands in (never picked at run time)

namespace loom {
void mmpx2xRowAvx2(const uint32_t* const* i, int w, PixelEquals s, uint32_t* const* o) {
    mmpx2xRowScalar(i, w, s, o);
}
}  // namespace loom

#endif
