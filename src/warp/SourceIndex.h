// The truncation that turns a mapped source coordinate into a pixel index, shared by the reference
// and the fast warp loops so that both decide every pixel alike.
//
// A coordinate is truncated toward zero, so positions between -1 and 0 still sample index 0. A
// value within SNAP_TOLERANCE below a whole number counts as that number: the exact mapping of,
// say, the unmoved quad lands on whole pixels, and a rounding hair below one must not pick its
// neighbour. The tolerance is far above double-precision rounding of pixel-sized values and far
// below the resolution of single precision, so only results that hinged on rounding are affected.
#pragma once

#include <cstdint>

namespace loom {

constexpr double SNAP_TOLERANCE = 1e-8;

// The index for coordinate u along an axis of size pixels, or false when it falls outside (a
// non-finite coordinate always does).
inline bool sourceIndex(double u, int32_t size, int32_t& index) {
    const double snapped = u + SNAP_TOLERANCE;
    if (!(u > SNAP_TOLERANCE - 1.0 && snapped < size)) return false;
    index = static_cast<int32_t>(snapped);
    return true;
}

}  // namespace loom
