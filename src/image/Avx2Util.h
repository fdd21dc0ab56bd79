// Small AVX2 helpers on eight 32-bit pixels (PackedPixel.h) for the files compiled for AVX2.
// Include only after `#pragma GCC target("avx2")`, so these inline helpers are built for AVX2
// too and never reach code that runs on a processor without it.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "image/PackedPixel.h"

namespace loom::avx2 {

inline __m256i load(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
inline void store(uint32_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

inline __m256i allOnes() { return _mm256_set1_epi32(-1); }
// A PixelEquals mask in every lane.
inline __m256i laneMask(uint32_t mask) { return _mm256_set1_epi32(int(mask)); }
// Eight pixels with only the compared bits kept, ready for eq().
inline __m256i loadMasked(const uint32_t* p, __m256i mask) { return _mm256_and_si256(load(p), mask); }
// All ones in each lane where the two (masked) pixels are equal.
inline __m256i eq(__m256i a, __m256i b) { return _mm256_cmpeq_epi32(a, b); }
// a and not b.
inline __m256i andNot(__m256i a, __m256i b) { return _mm256_andnot_si256(b, a); }
// Eight pixels' PixelEquals keys, ready for eq(): the mask's bits, or under Seen (whose mask keeps
// every bit) the whole pixel with each fully transparent one made 0.
template <bool SEEN>
inline __m256i keys(__m256i v, __m256i mask) {
    if constexpr (SEEN)
        return andNot(v, eq(_mm256_and_si256(v, laneMask(ALPHA_MASK)), _mm256_setzero_si256()));
    else
        return _mm256_and_si256(v, mask);
}
template <bool SEEN>
inline __m256i loadKeys(const uint32_t* p, __m256i mask) {
    return keys<SEEN>(load(p), mask);
}
// One bit per lane.
inline uint32_t laneBits(__m256i v) { return uint32_t(_mm256_movemask_ps(_mm256_castsi256_ps(v))); }

// Chunks of eight anchors covering columns from..to-1; the last chunk is moved back to end at
// to-1 (recomputing a few blocks is harmless: a kernel only reads its input). to - from >= 8.
template <class Body>
void forChunks(int from, int to, Body body) {
    for (int x = from;; x += 8) {
        if (x > to - 8) x = to - 8;
        body(x);
        if (x == to - 8) break;
    }
}

// from where `take` is set, else own.
inline __m256i take(__m256i take, __m256i from, __m256i own) {
    return _mm256_blendv_epi8(own, from, take);
}

inline void storeInterleaved2(uint32_t* out, __m256i left, __m256i right) {
    const __m256i lo = _mm256_unpacklo_epi32(left, right);  // L0 R0 L1 R1 | L4 R4 L5 R5
    const __m256i hi = _mm256_unpackhi_epi32(left, right);  // L2 R2 L3 R3 | L6 R6 L7 R7
    store(out, _mm256_permute2x128_si256(lo, hi, 0x20));
    store(out + 8, _mm256_permute2x128_si256(lo, hi, 0x31));
}

}  // namespace loom::avx2
