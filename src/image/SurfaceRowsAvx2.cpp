// 3-byte rows to and from 32-bit pixels, eight pixels at a time with byte shuffles (and the
// alpha test, eight pixels at a time):
//   R0 G0 B0 R1 G1 B1 ...  <->  R0 G0 B0 A0 | R1 G1 B1 A1 | ...
// Each half of a 256-bit register handles four pixels (12 bytes); the loops stop early enough
// that no load or store passes the row's end, and the rest goes pixel by pixel.
#include "image/SurfaceRows.h"

#if defined(__x86_64__) || defined(__i386__)

#pragma GCC target("avx2")
#include <immintrin.h>

namespace loom {

void threeByteRowToPixelsAvx2(const uint8_t* in, uint32_t* out, int width, bool swapRedBlue) {
    const __m256i shuffle = swapRedBlue
                                ? _mm256_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1,
                                                   2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1)
                                : _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,
                                                   0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    int x = 0;
    // Reads bytes 3x .. 3x + 27.
    for (; x + 10 <= width; x += 8) {
        const __m256i bytes = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(in + 3 * x + 12),
                                                  reinterpret_cast<const __m128i*>(in + 3 * x));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                            _mm256_or_si256(_mm256_shuffle_epi8(bytes, shuffle), opaque));
    }
    const int r = swapRedBlue ? 2 : 0, b = swapRedBlue ? 0 : 2;
    for (; x < width; ++x) {
        const uint8_t* p = in + 3 * x;
        out[x] = uint32_t(p[r]) | uint32_t(p[1]) << 8 | uint32_t(p[b]) << 16 | 0xFF000000u;
    }
}

void pixelsToRgbRowAvx2(const uint32_t* in, uint8_t* out, int width) {
    const __m256i shuffle = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0,
                                             1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    // Writes bytes 3x .. 3x + 27; the second store overwrites the first one's four spare bytes.
    for (; x + 10 <= width; x += 8) {
        const __m256i packed =
            _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x)), shuffle);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm256_castsi256_si128(packed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x + 12),
                         _mm256_extracti128_si256(packed, 1));
    }
    for (; x < width; ++x) {
        const uint32_t v = in[x];
        out[3 * x] = uint8_t(v);
        out[3 * x + 1] = uint8_t(v >> 8);
        out[3 * x + 2] = uint8_t(v >> 16);
    }
}

bool rowHasAlphaAvx2(const uint32_t* row, int width, uint32_t alphaOf) {
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i wanted = _mm256_set1_epi32(int(alphaOf));
    __m256i differs = _mm256_setzero_si256();
    int x = 0;
    for (; x + 8 <= width; x += 8)
        differs = _mm256_or_si256(
            differs,
            _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x)), wanted));
    uint32_t rest = 0;
    for (; x < width; ++x) rest |= (row[x] ^ alphaOf) & 0xFF000000u;
    return rest == 0 && _mm256_testz_si256(differs, alphaMask);
}

}  // namespace loom

#else  // never picked without AVX2

namespace loom {
void threeByteRowToPixelsAvx2(const uint8_t* in, uint32_t* out, int width, bool swapRedBlue) {
    for (int x = 0; x < width; ++x) {
        const uint8_t* p = in + 3 * x;
        out[x] = uint32_t(p[swapRedBlue ? 2 : 0]) | uint32_t(p[1]) << 8 |
                 uint32_t(p[swapRedBlue ? 0 : 2]) << 16 | 0xFF000000u;
    }
}
void pixelsToRgbRowAvx2(const uint32_t* in, uint8_t* out, int width) {
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c) out[3 * x + c] = uint8_t(in[x] >> (8 * c));
}
bool rowHasAlphaAvx2(const uint32_t* row, int width, uint32_t alphaOf) {
    return rowHasAlpha(row, width, alphaOf, KernelPath::Scalar);
}
}  // namespace loom

#endif
