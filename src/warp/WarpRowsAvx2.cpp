// The AVX2 row kernels, four pixels per step in the four double lanes of a register. Every lane
// performs the scalar kernel's IEEE operations in the same order (no fused multiply-add: the
// layer is built with -ffp-contract=off and this file enables AVX2 only), and branches become
// blends between both sides, so the results are bit-identical. Lanes past the row's end are
// computed but not stored.
#include "warp/SourceIndex.h"
#include "warp/WarpRows.h"

#if defined(__x86_64__) || defined(__i386__)

#pragma GCC target("avx2")
#include <immintrin.h>

namespace loom {

namespace {

// sourceIndex() on four lanes: the index, or -1 where either coordinate falls outside.
struct IndexLanes {
    __m128i u;
    __m128i v;
};

inline IndexLanes sourceIndices(__m256d u, __m256d v, SourceSize source) {
    const __m256d snap = _mm256_set1_pd(SNAP_TOLERANCE);
    const __m256d low = _mm256_set1_pd(SNAP_TOLERANCE - 1.0);
    const __m256d snappedU = _mm256_add_pd(u, snap);
    const __m256d snappedV = _mm256_add_pd(v, snap);
    // Ordered comparisons: a non-number is outside.
    __m256d inside = _mm256_and_pd(_mm256_cmp_pd(u, low, _CMP_GT_OQ),
                                   _mm256_cmp_pd(snappedU, _mm256_set1_pd(source.width), _CMP_LT_OQ));
    inside = _mm256_and_pd(inside, _mm256_cmp_pd(v, low, _CMP_GT_OQ));
    inside = _mm256_and_pd(inside, _mm256_cmp_pd(snappedV, _mm256_set1_pd(source.height), _CMP_LT_OQ));
    const __m256d minusOne = _mm256_set1_pd(-1.0);
    return {_mm256_cvttpd_epi32(_mm256_blendv_pd(minusOne, snappedU, inside)),
            _mm256_cvttpd_epi32(_mm256_blendv_pd(minusOne, snappedV, inside))};
}

inline void storeLanes(const IndexLanes& lanes, int32_t x, int32_t width, int32_t* iu, int32_t* iv) {
    if (x + 4 <= width) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(iu + x), lanes.u);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(iv + x), lanes.v);
        return;
    }
    alignas(16) int32_t u[4], v[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(u), lanes.u);
    _mm_store_si128(reinterpret_cast<__m128i*>(v), lanes.v);
    for (int i = 0; x + i < width; ++i) {
        iu[x + i] = u[i];
        iv[x + i] = v[i];
    }
}

inline __m256d columns(int32_t x) {
    const double xd = x;
    return _mm256_set_pd(xd + 3, xd + 2, xd + 1, xd);
}

inline __m256d absolute(__m256d a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }

}  // namespace

void projectiveRowAvx2(const Homography& m, int32_t y, int32_t width, SourceSize source, int32_t* iu,
                       int32_t* iv) {
    const double yd = y;
    const __m256d rowX = _mm256_set1_pd(m.m[3] * yd + m.m[6]);
    const __m256d rowY = _mm256_set1_pd(m.m[4] * yd + m.m[7]);
    const __m256d rowW = _mm256_set1_pd(m.m[5] * yd + m.m[8]);
    const __m256d m0 = _mm256_set1_pd(m.m[0]);
    const __m256d m1 = _mm256_set1_pd(m.m[1]);
    const __m256d m2 = _mm256_set1_pd(m.m[2]);
    const __m256d one = _mm256_set1_pd(1.0);
    for (int32_t x = 0; x < width; x += 4) {
        const __m256d xd = columns(x);
        const __m256d reciprocal = _mm256_div_pd(one, _mm256_add_pd(_mm256_mul_pd(m2, xd), rowW));
        const __m256d u = _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(m0, xd), rowX), reciprocal);
        const __m256d v = _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(m1, xd), rowY), reciprocal);
        storeLanes(sourceIndices(u, v, source), x, width, iu, iv);
    }
}

void bilinearRowAvx2(const Vec2f (&corners)[4], double scaleU, double scaleV, int32_t y, int32_t width,
                     SourceSize source, int32_t* iu, int32_t* iv) {
    // The names follow inverseBilinearIn: x0 - px is x0px, y0 - y3 is y03, and so on.
    const double x0 = corners[0].x, y0 = corners[0].y, x1 = corners[1].x, y1 = corners[1].y;
    const double x2 = corners[2].x, y2 = corners[2].y, x3 = corners[3].x, y3 = corners[3].y;
    const double py = y;
    const __m256d vx0 = _mm256_set1_pd(x0), vx1 = _mm256_set1_pd(x1);
    const __m256d y03 = _mm256_set1_pd(y0 - y3), x03 = _mm256_set1_pd(x0 - x3);
    const __m256d y12 = _mm256_set1_pd(y1 - y2), x12 = _mm256_set1_pd(x1 - x2);
    const __m256d y0py = _mm256_set1_pd(y0 - py), y1py = _mm256_set1_pd(y1 - py);
    const __m256d zero = _mm256_setzero_pd(), one = _mm256_set1_pd(1.0);
    const __m256d two = _mm256_set1_pd(2.0), half = _mm256_set1_pd(0.5);
    const __m256d su = _mm256_set1_pd(scaleU), sv = _mm256_set1_pd(scaleV);

    for (int32_t x = 0; x < width; x += 4) {
        const __m256d px = columns(x);
        const __m256d x0px = _mm256_sub_pd(vx0, px), x1px = _mm256_sub_pd(vx1, px);
        const __m256d e = _mm256_sub_pd(_mm256_mul_pd(y03, x0px), _mm256_mul_pd(y0py, x03));
        const __m256d f = _mm256_mul_pd(
            _mm256_add_pd(_mm256_sub_pd(_mm256_mul_pd(x0px, y12), _mm256_mul_pd(y0py, x12)),
                          _mm256_sub_pd(_mm256_mul_pd(y03, x1px), _mm256_mul_pd(x03, y1py))),
            half);
        const __m256d g = _mm256_sub_pd(_mm256_mul_pd(y12, x1px), _mm256_mul_pd(x12, y1py));
        const __m256d r = _mm256_add_pd(_mm256_sub_pd(e, _mm256_mul_pd(two, f)), g);

        // Both roots as quotients chosen per lane, then the linear case where r is zero.
        const __m256d b = _mm256_sub_pd(e, f);
        const __m256d q = _mm256_sqrt_pd(_mm256_sub_pd(_mm256_mul_pd(f, f), _mm256_mul_pd(e, g)));
        const __m256d bPlusQ = _mm256_add_pd(b, q), bMinusQ = _mm256_sub_pd(b, q);
        const __m256d bNonNegative = _mm256_cmp_pd(b, zero, _CMP_GE_OQ);
        const __m256d rZero = _mm256_cmp_pd(r, zero, _CMP_EQ_OQ);
        const __m256d eMinusG = _mm256_sub_pd(e, g);
        __m256d firstNum = _mm256_blendv_pd(e, bPlusQ, bNonNegative);
        __m256d firstDen = _mm256_blendv_pd(bMinusQ, r, bNonNegative);
        firstNum = _mm256_blendv_pd(firstNum, e, rZero);
        firstDen = _mm256_blendv_pd(firstDen, eMinusG, rZero);
        const __m256d secondUsesE =
            _mm256_and_pd(bNonNegative, _mm256_cmp_pd(bPlusQ, zero, _CMP_NEQ_UQ));
        const __m256d secondNum = _mm256_blendv_pd(bMinusQ, e, secondUsesE);
        const __m256d secondDen = _mm256_blendv_pd(r, bPlusQ, secondUsesE);
        const __m256d first = _mm256_div_pd(firstNum, firstDen);
        const __m256d second = _mm256_div_pd(secondNum, secondDen);
        const __m256d firstOut =
            _mm256_or_pd(_mm256_cmp_pd(first, zero, _CMP_LT_OQ), _mm256_cmp_pd(first, one, _CMP_GT_OQ));
        __m256d s = _mm256_blendv_pd(first, second, _mm256_andnot_pd(rZero, firstOut));
        s = _mm256_blendv_pd(s, zero, _mm256_and_pd(rZero, _mm256_cmp_pd(eMinusG, zero, _CMP_EQ_OQ)));

        const __m256d oneMinusS = _mm256_sub_pd(one, s);
        const __m256d dx = _mm256_add_pd(_mm256_mul_pd(oneMinusS, x03), _mm256_mul_pd(s, x12));
        const __m256d dy = _mm256_add_pd(_mm256_mul_pd(oneMinusS, y03), _mm256_mul_pd(s, y12));
        const __m256d useX = _mm256_cmp_pd(absolute(dy), absolute(dx), _CMP_LT_OQ);
        const __m256d tNumX = _mm256_add_pd(_mm256_mul_pd(s, x1px), _mm256_mul_pd(oneMinusS, x0px));
        const __m256d tNumY = _mm256_add_pd(_mm256_mul_pd(s, y1py), _mm256_mul_pd(oneMinusS, y0py));
        __m256d t = _mm256_div_pd(_mm256_blendv_pd(tNumY, tNumX, useX), _mm256_blendv_pd(dy, dx, useX));
        t = _mm256_blendv_pd(t, zero, _mm256_andnot_pd(useX, _mm256_cmp_pd(dy, zero, _CMP_EQ_OQ)));

        storeLanes(sourceIndices(_mm256_mul_pd(su, s), _mm256_mul_pd(sv, t), source), x, width, iu, iv);
    }
}

}  // namespace loom

#else

namespace loom {

void projectiveRowAvx2(const Homography& m, int32_t y, int32_t width, SourceSize source, int32_t* iu,
                       int32_t* iv) {
    projectiveRowScalar(m, y, width, source, iu, iv);
}

void bilinearRowAvx2(const Vec2f (&corners)[4], double scaleU, double scaleV, int32_t y, int32_t width,
                     SourceSize source, int32_t* iu, int32_t* iv) {
    bilinearRowScalar(corners, scaleU, scaleV, y, width, source, iu, iv);
}

}  // namespace loom

#endif
