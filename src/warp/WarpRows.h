// The row kernels of the fast warp loops. A kernel finds the source pixel of every output pixel in
// one row and stores its column and row in iu and iv, with iu = -1 where the pixel falls outside;
// copyRow then writes the row. Each kernel evaluates exactly the reference loop's arithmetic (the
// AVX2 kernels four pixels at a time with the same IEEE operations), so all give identical pixels.
#pragma once

#include <cstdint>

#include "math/Vec2.h"
#include "warp/Homography.h"

namespace loom {

struct SourceSize {
    int32_t width;
    int32_t height;
};

void projectiveRowScalar(const Homography& m, int32_t y, int32_t width, SourceSize source, int32_t* iu,
                         int32_t* iv);
void projectiveRowAvx2(const Homography& m, int32_t y, int32_t width, SourceSize source, int32_t* iu,
                       int32_t* iv);

// For a source quad matrix that only scales: (s, t) maps to (scaleU s, scaleV t).
void bilinearRowScalar(const Vec2f (&corners)[4], double scaleU, double scaleV, int32_t y, int32_t width,
                       SourceSize source, int32_t* iu, int32_t* iv);
void bilinearRowAvx2(const Vec2f (&corners)[4], double scaleU, double scaleV, int32_t y, int32_t width,
                     SourceSize source, int32_t* iu, int32_t* iv);

}  // namespace loom
