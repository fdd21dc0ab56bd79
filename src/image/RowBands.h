// Rows of an output made in bands, one per core: where each row depends on its own y alone (a
// warp's rows, a sheet's rows of cells), the bands need no coordination and the result is the same
// however many there are.
#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

namespace loom {

// Calls rows(y0, y1) for bands covering [0, height) once each, on up to one thread per core (the
// caller's among them), and returns once all are done; the first exception a band threw travels on.
template <class Rows>
void forRowBands(int32_t height, const Rows& rows) {
    // Bands under this many rows cost more to start than they save.
    constexpr int32_t MIN_BAND_ROWS = 64;
    const int32_t cores = int32_t(std::max(1u, std::thread::hardware_concurrency()));
    const int32_t bands = std::clamp(height / MIN_BAND_ROWS, int32_t(1), std::min(cores, int32_t(8)));
    if (bands == 1) {
        rows(int32_t(0), height);
        return;
    }
    std::vector<std::exception_ptr> failures(static_cast<size_t>(bands));
    const auto band = [&](int32_t i) {
        try {
            rows(int32_t(int64_t(height) * i / bands), int32_t(int64_t(height) * (i + 1) / bands));
        } catch (...) {
            failures[size_t(i)] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    for (int32_t i = 1; i < bands; ++i) threads.emplace_back(band, i);
    band(0);
    for (std::thread& thread : threads) thread.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace loom
