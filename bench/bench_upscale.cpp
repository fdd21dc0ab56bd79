// Upscaler throughput: every mode on pixel-art-like sources of 256, 1024 and 2048 pixels square,
// RGB and RGBA (whose sky is transparent), single-threaded, once into a reused output and once
// into a fresh surface as upscale() makes it; 2048 also on random pixels from a palette of 4, and
// RGBA 2048 under each rule of comparison (as seen, the default; colour only; colour and alpha). The
// machine's memcpy rate (256 MiB, buffers touched first) is measured in the same run, and a closing
// table gives each mode's output bytes per second as a fraction of it. Rates are per second of the
// benchmark thread's CPU time (page-fault work in the kernel included), so that other processes sharing
// the machine do not distort them. `bench_upscale --write-inputs DIR` writes the 2048 RGBA pixel-art
// sheet as DIR/pixelart2048.png, for timing whole runs of `quennet` on it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "image/KernelPath.h"
#include "image/Upscale.h"
#include "image/UpscaleFast.h"
#include "image/UpscalerCatalogue.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"

using namespace loom;

namespace {

const int SIZES[] = {256, 1024, 2048};
constexpr size_t MEMCPY_BYTES = size_t(256) << 20;

void setPixel(const Surface& s, int x, int y, uint32_t rgb, uint8_t alpha = 255) {
    uint8_t* p = s.getData(x, y);
    p[0] = uint8_t(rgb >> 16);
    p[1] = uint8_t(rgb >> 8);
    p[2] = uint8_t(rgb);
    if (s.hasAlpha()) p[3] = alpha;
}

// Sprite-like content: a sky, outlined blocks and discs of flat colour, diagonal lines and a few
// dithered patches, from a 16-colour palette.
Surface pixelArt(int size, bool alpha) {
    Surface s(size, size, alpha);
    std::mt19937 rng(7);
    std::vector<uint32_t> palette;
    for (int i = 0; i < 16; ++i) palette.push_back(rng() & 0xFFFFFF);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            setPixel(s, x, y, palette[size_t(y * 4 / size)], y * 4 / size == 0 ? 0 : 255);
    const int shapes = size * size / 400;
    for (int n = 0; n < shapes; ++n) {
        const int cx = int(rng() % unsigned(size)), cy = int(rng() % unsigned(size));
        const int r = 3 + int(rng() % 12);
        const uint32_t fill = palette[rng() % 16], outline = palette[rng() % 4];
        const int kind = int(rng() % 4);
        for (int y = std::max(0, cy - r); y < std::min(size, cy + r); ++y) {
            for (int x = std::max(0, cx - r); x < std::min(size, cx + r); ++x) {
                const int dx = x - cx, dy = y - cy;
                if (kind == 0 && dx * dx + dy * dy < r * r)
                    setPixel(s, x, y, dx * dx + dy * dy >= (r - 1) * (r - 1) ? outline : fill);
                else if (kind == 1)
                    setPixel(s, x, y, (std::abs(dx) == r - 1 || std::abs(dy) == r - 1) ? outline : fill);
                else if (kind == 2 && dx == dy)
                    setPixel(s, x, y, outline);
                else if (kind == 3 && ((x + y) & 1) && std::abs(dx) < r / 2)
                    setPixel(s, x, y, fill);
            }
        }
    }
    return s;
}

Surface randomPalette4(int size, bool alpha) {
    Surface s(size, size, alpha);
    std::mt19937 rng(11);
    const uint32_t palette[] = {0x000000, 0xFFFFFF, 0xC04020, 0x2060C0};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) setPixel(s, x, y, palette[rng() % 4]);
    return s;
}

struct Case {
    int mode;
    int size;
    bool alpha;
    bool fresh;
    bool random;
    PixelMatch match = PixelMatch::Seen;
};

const char* const MATCH_SUFFIXES[] = {"", "/colour", "/rgba"};

std::string caseName(const Case& c) {
    return std::string(upscalerCatalogue()[size_t(c.mode)].name) + "/" + std::to_string(c.size) +
           (c.alpha ? "/RGBA" : "/RGB") + (c.fresh ? "/fresh" : "/reused") +
           (c.random ? "/random4" : "/pixelart") + MATCH_SUFFIXES[int(c.match)];
}

void runCase(benchmark::State& state, Case c) {
    const Surface source = c.random ? randomPalette4(c.size, c.alpha) : pixelArt(c.size, c.alpha);
    const int factor = upscalerCatalogue()[size_t(c.mode)].factor;
    const Surface reused = c.fresh ? Surface() : makeScaledSurface(source, factor);
    const KernelPath path = bestKernelPath();
    if (!c.fresh) upscaleInto(source, c.mode, reused, path, c.match);  // fault the output in once
    for (auto _ : state) {
        if (c.fresh) {
            Surface result = upscale(source, c.mode, c.match);
            benchmark::DoNotOptimize(result.getData());
        } else {
            upscaleInto(source, c.mode, reused, path, c.match);
            benchmark::DoNotOptimize(reused.getData());
        }
        benchmark::ClobberMemory();
    }
    const double outPixels = double(c.size) * c.size * factor * factor;
    state.counters["out_MPps"] =
        benchmark::Counter(outPixels * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
    state.counters["out_Bps"] = benchmark::Counter(
        outPixels * (c.alpha ? 4 : 3) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// A 2048 x 2048 RGBA sheet through Scale4x as one picture, as 16 x 16 cells each upscaled alone,
// and as one picture with wrapped edges: what cells and wrapping cost over the whole. Cells are made
// on every core, so these three are timed by the clock on the wall, not the thread's CPU time.
void runSheet(benchmark::State& state, SheetLayout layout) {
    const Surface source = pixelArt(2048, true);
    for (auto _ : state) {
        Surface result = upscale(source, 3, PixelMatch::Seen, layout);
        benchmark::DoNotOptimize(result.getData());
    }
    state.counters["out_MPps"] = benchmark::Counter(
        2048.0 * 2048.0 * 16 * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void runMemcpy(benchmark::State& state) {
    std::vector<uint8_t> from(MEMCPY_BYTES, 1), to(MEMCPY_BYTES, 2);  // both touched
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), MEMCPY_BYTES);
        benchmark::ClobberMemory();
    }
    state.counters["copied_Bps"] = benchmark::Counter(double(MEMCPY_BYTES) * double(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}

// Console output as usual, plus every run's counters kept for the closing table.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, std::map<std::string, double>> results;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            for (const auto& [name, counter] : run.counters)
                results[run.benchmark_name()][name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double get(const std::string& bench, const char* counter) const {
        auto it = results.find(bench);
        if (it == results.end()) return 0;
        auto c = it->second.find(counter);
        return c == it->second.end() ? 0 : c->second;
    }
};

void printTable(const CollectingReporter& r) {
    const double memcpyRate = r.get("memcpy/256MiB", "copied_Bps");
    std::printf("\nmemcpy: %.2f GB/s copied (256 MiB, touched buffers); kernels on the %s path\n",
                memcpyRate / 1e9, kernelPathName(bestKernelPath()));
    std::printf(
        "\nOutput megapixels per CPU second (reused output / fresh surface), pixel-art source:\n");
    std::printf("%-10s %-5s %15s %15s %15s\n", "mode", "", "256", "1024", "2048");
    for (const auto& info : upscalerCatalogue()) {
        for (bool alpha : {false, true}) {
            std::printf("%-10s %-5s", info.name.c_str(), alpha ? "RGBA" : "RGB");
            for (int size : SIZES) {
                const double reused = r.get(caseName({info.id, size, alpha, false, false}), "out_MPps");
                const double fresh = r.get(caseName({info.id, size, alpha, true, false}), "out_MPps");
                std::printf(" %7.0f/%-7.0f", reused, fresh);
            }
            std::printf("\n");
        }
    }
    std::printf(
        "\n2048x2048 RGBA source: output bytes/s as a fraction of memcpy (reused output) as seen,\n"
        "colour only and colour and alpha; fresh/reused time ratio, random-palette-4/pixel-art time\n"
        "ratio (reused)\n");
    std::printf("%-10s %10s %8s %8s %8s %10s %14s\n", "mode", "out GB/s", "seen", "colour", "rgba",
                "fresh/re", "random/art");
    const auto ofMemcpy = [&](const Case& c) {
        return memcpyRate > 0 ? r.get(caseName(c), "out_Bps") / memcpyRate : 0.0;
    };
    for (const auto& info : upscalerCatalogue()) {
        const double reused = r.get(caseName({info.id, 2048, true, false, false}), "out_Bps");
        const double fresh = r.get(caseName({info.id, 2048, true, true, false}), "out_Bps");
        const double random = r.get(caseName({info.id, 2048, true, false, true}), "out_Bps");
        std::printf("%-10s %10.2f %8.2f %8.2f %8.2f %10.2f %14.2f\n", info.name.c_str(), reused / 1e9,
                    ofMemcpy({info.id, 2048, true, false, false}),
                    ofMemcpy({info.id, 2048, true, false, false, PixelMatch::Colour}),
                    ofMemcpy({info.id, 2048, true, false, false, PixelMatch::ColourAndAlpha}),
                    fresh > 0 ? reused / fresh : 0.0, random > 0 ? reused / random : 0.0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-inputs") {
        writeImage(std::string(argv[2]) + "/pixelart2048.png",
                   std::make_shared<ImageSourceSurface>(pixelArt(2048, true)));
        return 0;
    }
    benchmark::RegisterBenchmark("memcpy/256MiB", runMemcpy)->Unit(benchmark::kMillisecond);
    for (const auto& info : upscalerCatalogue()) {
        for (int size : SIZES) {
            for (bool alpha : {false, true}) {
                for (bool fresh : {false, true}) {
                    for (bool random : {false, true}) {
                        if (random && size != 2048) continue;
                        const Case c{info.id, size, alpha, fresh, random};
                        benchmark::RegisterBenchmark(caseName(c).c_str(), runCase, c)
                            ->Unit(benchmark::kMillisecond);
                    }
                }
            }
        }
    }
    for (const auto& info : upscalerCatalogue()) {
        for (PixelMatch match : {PixelMatch::Colour, PixelMatch::ColourAndAlpha}) {
            const Case c{info.id, 2048, true, false, false, match};
            benchmark::RegisterBenchmark(caseName(c).c_str(), runCase, c)->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("Scale4x/2048/RGBA/sheet/whole", runSheet, SheetLayout())
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Scale4x/2048/RGBA/sheet/cells16", runSheet,
                                 SheetLayout{EdgeRule::Clamp, CellGrid{16, 16, 0, 0}})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Scale4x/2048/RGBA/sheet/wrap", runSheet,
                                 SheetLayout{EdgeRule::Wrap, {}})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTable(reporter);
    benchmark::Shutdown();
    return 0;
}
