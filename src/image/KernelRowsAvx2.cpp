// The kernels eight source pixels at a time with AVX2. Each lane holds one pixel; pixels are
// compared by their keys under the match (Avx2Util.h), and a rule's lane mask covers the whole lane, so
// a blend copies the chosen neighbour whole, alpha included. Blocks are interleaved into the output rows
// with unpack (factor 2) or permute (factor 3):
//   factor 2, lanes L0..L7 and R0..R7 -> L0 R0 L1 R1 ... L7 R7
//   factor 3, lanes a, b, c           -> a0 b0 c0 a1 b1 c1 ... a7 b7 c7
// The first and last columns, where neighbours clamp, go through the scalar blocks.
#include "image/KernelBlocks.h"
#include "image/KernelRows.h"

#if defined(__x86_64__) || defined(__i386__)

#pragma GCC target("avx2")
#include "image/Avx2Util.h"

namespace loom {

namespace {

using namespace avx2;

// Lane i of the result from a, b or c at lane idx[i]: bit i of FROM_B picks b, of FROM_C c.
template <int FROM_B, int FROM_C>
inline __m256i gather3(__m256i a, __m256i b, __m256i c, __m256i idx) {
    const __m256i ab = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(a, idx),
                                          _mm256_permutevar8x32_epi32(b, idx), FROM_B);
    return _mm256_blend_epi32(ab, _mm256_permutevar8x32_epi32(c, idx), FROM_C);
}

inline void storeInterleaved3(uint32_t* out, __m256i a, __m256i b, __m256i c) {
    store(out, gather3<0x92, 0x24>(a, b, c, _mm256_setr_epi32(0, 0, 0, 1, 1, 1, 2, 2)));
    store(out + 8, gather3<0x24, 0x49>(a, b, c, _mm256_setr_epi32(2, 3, 3, 3, 4, 4, 4, 5)));
    store(out + 16, gather3<0x49, 0x92>(a, b, c, _mm256_setr_epi32(5, 5, 6, 6, 6, 7, 7, 7)));
}

template <bool SEEN>
void scale2xRow(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    if (width < 10) return scale2xRowScalar(in, width, same, out);
    const uint32_t *above = in[0], *row = in[1], *below = in[2];
    for (int x : {0, width - 1})
        scale2xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 2 * x, out[1] + 2 * x);
    const __m256i match = laneMask(same.mask), ones = allOnes();
    forChunks(1, width - 1, [&](int x) {
        const __m256i e = load(row + x), d = load(row + x - 1), f = load(row + x + 1);
        const __m256i bm = loadKeys<SEEN>(above + x, match), hm = loadKeys<SEEN>(below + x, match);
        const __m256i dm = keys<SEEN>(d, match), fm = keys<SEEN>(f, match);
        const __m256i active = andNot(ones, _mm256_or_si256(eq(bm, hm), eq(dm, fm)));
        storeInterleaved2(out[0] + 2 * x, take(_mm256_and_si256(eq(dm, bm), active), d, e),
                          take(_mm256_and_si256(eq(bm, fm), active), f, e));
        storeInterleaved2(out[1] + 2 * x, take(_mm256_and_si256(eq(dm, hm), active), d, e),
                          take(_mm256_and_si256(eq(hm, fm), active), f, e));
    });
}

template <bool SEEN>
void scale3xRow(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    if (width < 10) return scale3xRowScalar(in, width, same, out);
    const uint32_t *above = in[0], *row = in[1], *below = in[2];
    for (int x : {0, width - 1})
        scale3xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 3 * x, out[1] + 3 * x,
                     out[2] + 3 * x);
    const __m256i match = laneMask(same.mask), ones = allOnes();
    forChunks(1, width - 1, [&](int x) {
        const __m256i b = load(above + x), d = load(row + x - 1), e = load(row + x);
        const __m256i f = load(row + x + 1), h = load(below + x);
        const __m256i am = loadKeys<SEEN>(above + x - 1, match),
                      cm = loadKeys<SEEN>(above + x + 1, match);
        const __m256i gm = loadKeys<SEEN>(below + x - 1, match),
                      im = loadKeys<SEEN>(below + x + 1, match);
        const __m256i bm = keys<SEEN>(b, match), dm = keys<SEEN>(d, match);
        const __m256i em = keys<SEEN>(e, match), fm = keys<SEEN>(f, match);
        const __m256i hm = keys<SEEN>(h, match);
        const __m256i active = andNot(ones, _mm256_or_si256(eq(bm, hm), eq(dm, fm)));
        const __m256i db = _mm256_and_si256(eq(dm, bm), active);
        const __m256i bf = _mm256_and_si256(eq(bm, fm), active);
        const __m256i dh = _mm256_and_si256(eq(dm, hm), active);
        const __m256i hf = _mm256_and_si256(eq(hm, fm), active);
        const __m256i ea = eq(em, am), ec = eq(em, cm), eg = eq(em, gm), ei = eq(em, im);
        const __m256i top = _mm256_or_si256(andNot(db, ec), andNot(bf, ea));
        const __m256i left = _mm256_or_si256(andNot(db, eg), andNot(dh, ea));
        const __m256i right = _mm256_or_si256(andNot(bf, ei), andNot(hf, ec));
        const __m256i bottom = _mm256_or_si256(andNot(dh, ei), andNot(hf, eg));
        storeInterleaved3(out[0] + 3 * x, take(db, d, e), take(top, b, e), take(bf, f, e));
        storeInterleaved3(out[1] + 3 * x, take(left, d, e), e, take(right, f, e));
        storeInterleaved3(out[2] + 3 * x, take(dh, d, e), take(bottom, h, e), take(hf, f, e));
    });
}

template <bool SEEN>
void eagle2xRow(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    if (width < 10) return eagle2xRowScalar(in, width, same, out);
    const uint32_t *above = in[0], *row = in[1], *below = in[2];
    for (int x : {0, width - 1})
        eagle2xBlock(neighbourhoodAt(above, row, below, x, width), same, out[0] + 2 * x, out[1] + 2 * x);
    const __m256i match = laneMask(same.mask);
    forChunks(1, width - 1, [&](int x) {
        const __m256i a = load(above + x - 1), c = load(above + x + 1), e = load(row + x);
        const __m256i g = load(below + x - 1), i = load(below + x + 1);
        const __m256i am = keys<SEEN>(a, match), cm = keys<SEEN>(c, match);
        const __m256i gm = keys<SEEN>(g, match), im = keys<SEEN>(i, match);
        const __m256i bm = loadKeys<SEEN>(above + x, match), dm = loadKeys<SEEN>(row + x - 1, match);
        const __m256i fm = loadKeys<SEEN>(row + x + 1, match), hm = loadKeys<SEEN>(below + x, match);
        storeInterleaved2(out[0] + 2 * x, take(_mm256_and_si256(eq(dm, am), eq(am, bm)), a, e),
                          take(_mm256_and_si256(eq(bm, cm), eq(fm, cm)), c, e));
        storeInterleaved2(out[1] + 2 * x, take(_mm256_and_si256(eq(dm, gm), eq(hm, gm)), g, e),
                          take(_mm256_and_si256(eq(fm, im), eq(hm, im)), i, e));
    });
}

}  // namespace

void scale2xRowAvx2(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    (same.seen() ? scale2xRow<true> : scale2xRow<false>)(in, width, same, out);
}

void scale3xRowAvx2(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    (same.seen() ? scale3xRow<true> : scale3xRow<false>)(in, width, same, out);
}

void eagle2xRowAvx2(const uint32_t* const* in, int width, PixelEquals same, uint32_t* const* out) {
    (same.seen() ? eagle2xRow<true> : eagle2xRow<false>)(in, width, same, out);
}

}  // namespace loom

#else  // no AVX2 on this architecture: the scalar rows stand in (never picked at run time)

namespace loom {
void scale2xRowAvx2(const uint32_t* const* i, int w, PixelEquals s, uint32_t* const* o) {
    scale2xRowScalar(i, w, s, o);
}
void scale3xRowAvx2(const uint32_t* const* i, int w, PixelEquals s, uint32_t* const* o) {
    scale3xRowScalar(i, w, s, o);
}
void eagle2xRowAvx2(const uint32_t* const* i, int w, PixelEquals s, uint32_t* const* o) {
    eagle2xRowScalar(i, w, s, o);
}
}  // namespace loom

#endif
