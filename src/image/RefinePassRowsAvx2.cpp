// The refinement passes' rows with AVX2. Each lane of a fire mask evaluates the rule's whole
// condition for one of eight anchors on the image as it stands (a later rule at the same anchor
// only sees changed cells when an earlier one fired, and then the anchor fires anyway). The first
// anchor that fires gets the full window step; the search resumes just after it. (Skipping flat
// stretches of the anchor row first was measured slower: the branch mispredicts on busy art.)
#include "image/RefinePasses.h"
#include "image/RefineRules.h"
#include "image/RefineStep.h"

#if defined(__x86_64__) || defined(__i386__)

#pragma GCC target("avx2")
#include "image/Avx2Util.h"

namespace loom {

using namespace avx2;

namespace {

template <int N, class Rule, class Fires>
void passRow(const RowPlane& p, int y, Rule rule, Fires fires, PixelEquals same) {
    uint32_t* rows[N];
    for (int j = 0; j < N; ++j) rows[j] = p.row(std::clamp(y - 1 + j, 0, p.height - 1));
    const uint32_t* anchorRow = rows[1];
    const int width = p.width;
    const int lastInteriorX = width - N + 1;
    int x = 0;
    if (y >= 1 && y <= p.height - N + 1 && lastInteriorX >= 1) {
        refineStep<N>(rows, width, 0, rule, same);
        x = 1;
        while (x + 7 <= lastInteriorX) {
            const uint32_t bits = fires(rows, x);
            if (bits == 0) {
                x += 8;
                continue;
            }
            x += __builtin_ctz(bits);
            refineStepInterior<N>(rows, x, rule, same);
            ++x;
        }
    }
    for (; x < width; ++x)
        if (x == 0 || x == width - 1 || !flatAround(anchorRow, x, same))
            refineStep<N>(rows, width, x, rule, same);
}

// How eight pixels are made ready for eq(): whole (when the match compares every bit, or when
// whole pixels compare as the match does on this image), colour only, or as seen.
enum class Lanes { Whole, Colour, Seen };

template <Lanes L>
inline __m256i loadCompare(const uint32_t* p) {
    if constexpr (L == Lanes::Whole)
        return load(p);
    else if constexpr (L == Lanes::Colour)
        return loadMasked(p, laneMask(COLOUR_MASK));
    else
        return loadKeys<true>(p, allOnes());
}

// The edge neighbours and centre of anchors x..x+7, ready for eq(); the corners are loaded only
// when a cheap necessary condition leaves some lane that may fire.
template <Lanes L>
struct EdgeCells {
    __m256i b, d, e, f, h;
    EdgeCells(const uint32_t* const* rows, int x)
        : b(loadCompare<L>(rows[0] + x)),
          d(loadCompare<L>(rows[1] + x - 1)),
          e(loadCompare<L>(rows[1] + x)),
          f(loadCompare<L>(rows[1] + x + 1)),
          h(loadCompare<L>(rows[2] + x)) {}
};

template <Lanes L>
struct CornerCells {
    __m256i a, c, g, i;
    CornerCells(const uint32_t* const* rows, int x)
        : a(loadCompare<L>(rows[0] + x - 1)),
          c(loadCompare<L>(rows[0] + x + 1)),
          g(loadCompare<L>(rows[2] + x - 1)),
          i(loadCompare<L>(rows[2] + x + 1)) {}
};

inline __m256i all(__m256i p, __m256i q) { return _mm256_and_si256(p, q); }
template <class... More>
inline __m256i all(__m256i p, __m256i q, More... more) {
    return all(_mm256_and_si256(p, q), more...);
}
inline __m256i either(__m256i p, __m256i q) { return _mm256_or_si256(p, q); }

template <Lanes L>
inline uint32_t isolatedPixelFiresAvx2(const uint32_t* const* rows, int x) {
    const __m256i d = loadCompare<L>(rows[1] + x - 1);
    const __m256i fires =
        andNot(all(eq(d, loadCompare<L>(rows[0] + x)), eq(d, loadCompare<L>(rows[1] + x + 1)),
                   eq(d, loadCompare<L>(rows[2] + x))),
               eq(d, loadCompare<L>(rows[1] + x)));
    return laneBits(fires);
}

template <Lanes L>
inline uint32_t diagonal2xFiresAvx2(const uint32_t* const* rows, int x) {
    const __m256i p = loadCompare<L>(rows[1] + x), q = loadCompare<L>(rows[1] + x + 1);
    const __m256i r = loadCompare<L>(rows[2] + x), s = loadCompare<L>(rows[2] + x + 1);
    const __m256i pq = eq(p, q), pr = eq(p, r), qs = eq(q, s);
    // (Testing the necessary P != Q first and branching was measured slower here: on a 2x image
    // it holds too often for the branch to predict.)
    const __m256i c00 = loadCompare<L>(rows[0] + x - 1), c30 = loadCompare<L>(rows[0] + x + 2);
    const __m256i c03 = loadCompare<L>(rows[3] + x - 1), c33 = loadCompare<L>(rows[3] + x + 2);
    const __m256i antiDiagonal =
        andNot(eq(q, r), either(either(eq(q, c03), eq(q, c30)), either(pq, qs)));
    const __m256i mainDiagonal =
        andNot(eq(p, s), either(either(eq(p, c00), eq(p, c33)), either(pq, pr)));
    return laneBits(either(antiDiagonal, mainDiagonal));
}

template <Lanes L>
inline uint32_t corner3xFiresAvx2(const uint32_t* const* rows, int x) {
    const EdgeCells<L> n(rows, x);
    // Every direction needs B != H and D != F: two adjacent edge neighbours carry E, the other
    // two the corner's colour.
    if (laneBits(either(eq(n.b, n.h), eq(n.d, n.f))) == 0xFF) return 0;
    const CornerCells<L> k(rows, x);
    const __m256i de = eq(n.d, n.e), be = eq(n.b, n.e), fe = eq(n.f, n.e), he = eq(n.h, n.e);
    // Corner K, the two edge neighbours beside it equal to E, the rest of the pattern equal to K.
    const __m256i topLeft =
        andNot(all(de, be, eq(n.f, k.a), eq(n.h, k.a), eq(k.c, k.a), eq(k.g, k.a)), eq(k.a, n.e));
    const __m256i topRight =
        andNot(all(fe, be, eq(n.d, k.c), eq(n.h, k.c), eq(k.a, k.c), eq(k.i, k.c)), eq(k.c, n.e));
    const __m256i bottomLeft =
        andNot(all(de, he, eq(n.f, k.g), eq(n.b, k.g), eq(k.i, k.g), eq(k.a, k.g)), eq(k.g, n.e));
    const __m256i bottomRight =
        andNot(all(fe, he, eq(n.d, k.i), eq(n.b, k.i), eq(k.g, k.i), eq(k.c, k.i)), eq(k.i, n.e));
    return laneBits(either(either(topLeft, topRight), either(bottomLeft, bottomRight)));
}

template <Lanes L>
inline uint32_t diagonal3xFiresAvx2(const uint32_t* const* rows, int x) {
    const EdgeCells<L> n(rows, x);
    // Both rules need all four edge neighbours to differ from E (the line's colour).
    if (laneBits(either(either(eq(n.b, n.e), eq(n.d, n.e)), either(eq(n.f, n.e), eq(n.h, n.e)))) == 0xFF)
        return 0;
    const CornerCells<L> k(rows, x);
    const __m256i mainDiagonal =
        andNot(all(eq(k.a, n.e), eq(k.a, k.i)),
               either(either(eq(k.a, n.d), eq(k.a, n.h)), either(eq(k.a, n.b), eq(k.a, n.f))));
    const __m256i antiDiagonal =
        andNot(all(eq(k.c, n.e), eq(k.c, k.g)),
               either(either(eq(k.c, n.d), eq(k.c, n.h)), either(eq(k.c, n.b), eq(k.c, n.f))));
    return laneBits(either(mainDiagonal, antiDiagonal));
}

template <Lanes L>
void refineRowWith(RefinePass pass, const RowPlane& plane, int y, PixelEquals same) {
    switch (pass) {
        case RefinePass::IsolatedPixel:
            return passRow<3>(
                plane, y, [](auto& w, PixelEquals eq) { return isolatedPixelRule(w, eq); },
                [](const uint32_t* const* rows, int x) { return isolatedPixelFiresAvx2<L>(rows, x); },
                same);
        case RefinePass::Diagonal2x:
            return passRow<4>(
                plane, y, [](auto& w, PixelEquals eq) { return diagonal2xRule(w, eq); },
                [](const uint32_t* const* rows, int x) { return diagonal2xFiresAvx2<L>(rows, x); },
                same);
        case RefinePass::Corner3x:
            return passRow<3>(
                plane, y, [](auto& w, PixelEquals eq) { return corner3xRule(w, eq); },
                [](const uint32_t* const* rows, int x) { return corner3xFiresAvx2<L>(rows, x); }, same);
        case RefinePass::Diagonal3x:
            return passRow<3>(
                plane, y, [](auto& w, PixelEquals eq) { return diagonal3xRule(w, eq); },
                [](const uint32_t* const* rows, int x) { return diagonal3xFiresAvx2<L>(rows, x); },
                same);
    }
}

}  // namespace

void refineRowAvx2(RefinePass pass, const RowPlane& plane, int y, PixelEquals same) {
    if (same.comparesWhole() || (plane.wholeComparesSoFar && *plane.wholeComparesSoFar))
        return refineRowWith<Lanes::Whole>(pass, plane, y, same);
    if (same.seen()) return refineRowWith<Lanes::Seen>(pass, plane, y, same);
    refineRowWith<Lanes::Colour>(pass, plane, y, same);
}

}  // namespace loom

#else  // never picked without AVX2

namespace loom {
void refineRowAvx2(RefinePass pass, const RowPlane& plane, int y, PixelEquals same) {
    refineRow(pass, plane, y, KernelPath::Scalar, same);
}
}  // namespace loom

#endif
