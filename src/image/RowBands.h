// Rows of an output made in bands, one per core: where each row depends on its own y alone (a
// warp's rows, a sheet's rows of cells), the bands need no coordination and the result is the same
// however many there are.
#pragma once

#include <algorithm>
#include <cstdint>

#include "base/ThreadPool.h"

namespace loom {

// Calls rows(y0, y1) for bands covering [0, height) once each, on up to one worker of the shared
// pool per core (the caller's thread among them), and returns once all are done; the first
// exception a band threw travels on.
template <class Rows>
void forRowBands(int32_t height, const Rows& rows) {
    // Bands under this many rows cost more to hand over than they save.
    constexpr int32_t MIN_BAND_ROWS = 64;
    int32_t bands = std::min(height / MIN_BAND_ROWS, int32_t(8));
    if (bands > 1) bands = std::min(bands, int32_t(std::max(1u, ThreadPool::shared().workers())));
    if (bands <= 1) {
        rows(int32_t(0), height);
        return;
    }
    TaskGroup group;
    for (int32_t i = 0; i < bands; ++i)
        group.run([&rows, height, bands, i] {
            rows(int32_t(int64_t(height) * i / bands), int32_t(int64_t(height) * (i + 1) / bands));
        });
    group.wait();
}

}  // namespace loom
