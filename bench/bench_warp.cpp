// Output megapixels per second of the projective and bilinear warps onto RGBA outputs of 512,
// 1024 and 2048 pixels square, for a perspective trapezoid (about two thirds of its bounding
// rectangle covered) and a quad rotated by 30 degrees. For comparison, the scalar row kernels run
// at 2048 and the reference per-pixel loops at 512. Single-threaded.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "image/Surface.h"
#include "warp/BilinearWarp.h"
#include "warp/PixelAccess.h"
#include "warp/ProjectiveWarp.h"
#include "warp/WarpQuad.h"

namespace {

using namespace loom;

enum Shape { TRAPEZOID, ROTATED };
using WarpFunction = void (*)(const WarpQuad&, const Surface&, const WarpQuad&, const Surface&);

// Top edge the full width, bottom edge a third of it: (1 + 1/3) / 2 = 2/3 of the rectangle.
WarpQuad destinationQuad(Shape shape, float size) {
    if (shape == TRAPEZOID)
        return makeWarpQuad(std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(size, 0), Vec2f(size * 2 / 3, size),
                                                 Vec2f(size / 3, size)});
    // A square turned by 30 degrees whose bounding square has the given size.
    const float angle = 0.5235988f;
    const float side = size / (std::cos(angle) + std::sin(angle));
    const Vec2f centre(size / 2, size / 2);
    std::array<Vec2f, 4> corners;
    const Vec2f unit[4] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}};
    for (int i = 0; i < 4; ++i) {
        const Vec2f d = unit[i] * side;
        corners[i] = centre + Vec2f(d.x * std::cos(angle) - d.y * std::sin(angle),
                                    d.x * std::sin(angle) + d.y * std::cos(angle));
    }
    return makeWarpQuad(corners);
}

Surface sourceImage(int size) {
    Surface s(size, size, true);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            writePixelClamped(s, x, y, Rgba{uint8_t(x), uint8_t(y), uint8_t(x ^ y), 255});
    return s;
}

void runWarp(benchmark::State& state, WarpFunction function, Shape shape) {
    const int size = static_cast<int>(state.range(0));
    const Surface source = sourceImage(size);
    const WarpQuad sourceQuad = quadFromRect(Rectf(0, 0, float(size), float(size)));
    const WarpQuad destination = destinationQuad(shape, float(size));
    const Surface output(size, size, true);
    for (auto _ : state) {
        function(destination, source, sourceQuad, output);
        benchmark::DoNotOptimize(output.getData());
        benchmark::ClobberMemory();
    }
    state.counters["MP/s"] =
        benchmark::Counter(double(size) * size / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void projective(const WarpQuad& d, const Surface& s, const WarpQuad& q, const Surface& o) {
    warpProjective(d, s, q, o);
}
void bilinear(const WarpQuad& d, const Surface& s, const WarpQuad& q, const Surface& o) {
    warpBilinear(d, s, q, o);
}
void projectiveScalar(const WarpQuad& d, const Surface& s, const WarpQuad& q, const Surface& o) {
    warpProjective(d, s, q, o, KernelPath::Scalar);
}
void bilinearScalar(const WarpQuad& d, const Surface& s, const WarpQuad& q, const Surface& o) {
    warpBilinear(d, s, q, o, KernelPath::Scalar);
}

void projectiveTrapezoid(benchmark::State& s) { runWarp(s, projective, TRAPEZOID); }
void projectiveRotated(benchmark::State& s) { runWarp(s, projective, ROTATED); }
void bilinearTrapezoid(benchmark::State& s) { runWarp(s, bilinear, TRAPEZOID); }
void bilinearRotated(benchmark::State& s) { runWarp(s, bilinear, ROTATED); }
void projectiveScalarTrapezoid(benchmark::State& s) { runWarp(s, projectiveScalar, TRAPEZOID); }
void bilinearScalarTrapezoid(benchmark::State& s) { runWarp(s, bilinearScalar, TRAPEZOID); }
void projectiveReferenceTrapezoid(benchmark::State& s) {
    runWarp(s, warpProjectiveReference, TRAPEZOID);
}
void bilinearReferenceTrapezoid(benchmark::State& s) { runWarp(s, warpBilinearReference, TRAPEZOID); }

}  // namespace

BENCHMARK(projectiveTrapezoid)->Arg(512)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(projectiveRotated)->Arg(512)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(bilinearTrapezoid)->Arg(512)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(bilinearRotated)->Arg(512)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(projectiveScalarTrapezoid)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(bilinearScalarTrapezoid)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(projectiveReferenceTrapezoid)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(bilinearReferenceTrapezoid)->Arg(512)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
