// PNG decoding and encoding speed on pixel-art images (16 colours in sprite tiles, optional
// transparency), in megapixels per second, and the tool's whole pipeline on one 2048 x 2048 file.
// BM_PngWriteUpscaled writes the tool's typical results, a 2048 x 2048 picture through Scale2x and
// a 1024 x 1024 one through Scale4x, of a sprite sheet and of random pixels of four colours, and
// counts the file's bytes. BM_PngSizeAgainstPeers writes outlined sheets of 2 to 240 colours,
// with and without transparency, through Scale2x, Scale3x and Scale4x, and sets each file's size
// against ImageMagick's and optipng -o2's for the same pixels (when those are installed: the
// peer_* counters are 0 otherwise). BM_WritePeak writes the 1024 x 1024 sheet through Scale4x in each
// writable format and reports the memory the write takes beyond the result itself.
//
// `bench_codec --write-inputs DIR` writes those four source pictures as PNG files into DIR instead,
// for timing the whole program against other tools.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchImages.h"
#include "image/Surface.h"
#include "image/Upscale.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"

using namespace loom;

namespace {

// Deterministic sprite tiles of 16 x 16 pixels over a plain (or transparent) background.
Surface makePixelArt(int32_t size, bool alpha) {
    std::mt19937 random(7);
    uint8_t palette[16][4];
    for (auto& c : palette)
        c[0] = uint8_t(random()), c[1] = uint8_t(random()), c[2] = uint8_t(random()), c[3] = 255;
    palette[15][0] = 20, palette[15][1] = 30, palette[15][2] = 40, palette[15][3] = alpha ? 0 : 255;
    std::vector<std::vector<uint8_t>> sprites(32, std::vector<uint8_t>(256, 15));
    for (auto& sprite : sprites)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 8; ++x)
                if (random() % 10 < 6)
                    sprite[size_t(y * 16 + x)] = sprite[size_t(y * 16 + 15 - x)] =
                        uint8_t(random() % 15);
    Surface s(size, size, alpha);
    for (int32_t ty = 0; ty < size / 16; ++ty)
        for (int32_t tx = 0; tx < size / 16; ++tx) {
            const bool filled = random() % 10 < 7;
            const auto& sprite = sprites[random() % 32];
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const uint8_t* c = palette[filled ? sprite[size_t(y * 16 + x)] : 15];
                    std::memcpy(s.getData(tx * 16 + x, ty * 16 + y), c, alpha ? 4 : 3);
                }
        }
    return s;
}

std::string scratchPath(const std::string& name) {
    return "/tmp/bench_codec_" + std::to_string(getpid()) + "_" + name;
}

std::vector<uint8_t> encodePng(const Surface& s) {
    const std::string path = scratchPath("encoded.png");
    writeImage(path, std::make_shared<ImageSourceSurface>(s));
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    std::remove(path.c_str());
    return bytes;
}

void BM_PngDecode(benchmark::State& state) {
    const int32_t size = int32_t(state.range(0));
    std::vector<uint8_t> bytes = encodePng(makePixelArt(size, state.range(1) != 0));
    for (auto _ : state) {
        Surface decoded(loadImage(makeBufferSource(Buffer(bytes.data(), int32_t(bytes.size())))));
        benchmark::DoNotOptimize(decoded.getData());
    }
    state.counters["MP/s"] =
        benchmark::Counter(double(size) * size * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes"] = double(bytes.size());
}

void BM_PngEncode(benchmark::State& state) {
    const int32_t size = int32_t(state.range(0));
    const Surface image = makePixelArt(size, state.range(1) != 0);
    const std::string path = scratchPath("out.png");
    for (auto _ : state) writeImage(path, std::make_shared<ImageSourceSurface>(image));
    std::remove(path.c_str());
    state.counters["MP/s"] =
        benchmark::Counter(double(size) * size * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

// What `quennet -u Scale2x` does with one file, in one process: decode, upscale, encode.
void BM_Scale2xFilePipeline(benchmark::State& state) {
    const std::string in = scratchPath("in.png"), out = scratchPath("out2x.png");
    writeImage(in, std::make_shared<ImageSourceSurface>(makePixelArt(2048, true)));
    for (auto _ : state) {
        Surface source(loadImage(in));
        Surface result = upscale(source, 1);
        source = Surface();
        writeImage(out, std::make_shared<ImageSourceSurface>(result));
    }
    std::remove(in.c_str());
    std::remove(out.c_str());
}

// The source pictures by kind (0 sprites, 1 random four colours) and size.
Surface makeSource(int64_t kind, int32_t size) {
    return kind == 0 ? loom::bench::makeSpriteSheet(size) : loom::bench::makeRandomFourColours(size);
}

void BM_PngWriteUpscaled(benchmark::State& state) {
    const int32_t size = int32_t(state.range(1));
    const int mode = size == 2048 ? 1 : 3;  // Scale2x, Scale4x
    const Surface result = upscale(makeSource(state.range(0), size), mode);
    const std::string path = scratchPath("upscaled.png");
    for (auto _ : state) writeImage(path, std::make_shared<ImageSourceSurface>(result));
    std::ifstream written(path, std::ios::binary | std::ios::ate);
    state.counters["bytes"] = double(written.tellg());
    std::remove(path.c_str());
    state.counters["MP/s"] = benchmark::Counter(double(result.getWidth()) * result.getHeight() * 1e-6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

// The size of the file a peer makes: `command` is run with {in} and {out} replaced.
double peerBytes(std::string command, const std::string& in, const std::string& out) {
    for (const auto& [key, value] :
         {std::pair{std::string("{in}"), in}, std::pair{std::string("{out}"), out}})
        for (size_t at; (at = command.find(key)) != std::string::npos;)
            command.replace(at, key.size(), value);
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return 0;
    std::ifstream written(out, std::ios::binary | std::ios::ate);
    const double bytes = written ? double(written.tellg()) : 0.0;
    std::remove(out.c_str());
    return bytes;
}

void BM_PngSizeAgainstPeers(benchmark::State& state) {
    const int colours = int(state.range(0)), mode = int(state.range(2));
    const Surface result = upscale(
        loom::bench::makeOutlinedSheet(512, colours, state.range(1) != 0, uint32_t(colours)), mode);
    const std::string path = scratchPath("ours.png");
    for (auto _ : state) writeImage(path, std::make_shared<ImageSourceSurface>(result));
    std::ifstream written(path, std::ios::binary | std::ios::ate);
    const double ours = double(written.tellg());
    const double magick = peerBytes("convert {in} PNG:{out}", path, scratchPath("magick.png"));
    const double optipng =
        peerBytes("cp {in} {out} && optipng -quiet -o2 {out}", path, scratchPath("optipng.png"));
    std::remove(path.c_str());
    state.counters["bytes"] = ours;
    state.counters["of_magick"] = magick > 0 ? ours / magick : 0.0;
    state.counters["of_optipng"] = optipng > 0 ? ours / optipng : 0.0;
}

// A line of /proc/self/status ("VmHWM", "VmRSS") in KiB.
int64_t statusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atoll(line.c_str() + std::strlen(key) + 1);
    return -1;
}

// Resets the process's peak resident size to its current size (Linux 4.0 and later).
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

const char* const PEAK_FORMATS[] = {"png", "bmp", "tif", "jpg", "webp"};

void BM_WritePeak(benchmark::State& state) {
    const Surface result = upscale(makeSource(0, 1024), 3);
    const std::string path = scratchPath(std::string("peak.") + PEAK_FORMATS[state.range(0)]);
    int64_t extraKiB = 0;
    for (auto _ : state) {
        resetPeak();
        const int64_t before = statusKiB("VmRSS:");
        writeImage(path, std::make_shared<ImageSourceSurface>(result));
        extraKiB = std::max(extraKiB, statusKiB("VmHWM:") - before);
    }
    std::remove(path.c_str());
    const double resultBytes = double(result.getRowBytes()) * result.getHeight();
    state.SetLabel(PEAK_FORMATS[state.range(0)]);
    state.counters["extra_MiB"] = double(extraKiB) / 1024.0;
    state.counters["extra_of_result"] = double(extraKiB) * 1024.0 / resultBytes;
}

int writeInputs(const std::string& dir) {
    for (int32_t size : {2048, 1024}) {
        const std::string n = std::to_string(size);
        writeImage(dir + "/sprites" + n + ".png",
                   std::make_shared<ImageSourceSurface>(makeSource(0, size)));
        writeImage(dir + "/random" + n + ".png",
                   std::make_shared<ImageSourceSurface>(makeSource(1, size)));
    }
    return 0;
}

}  // namespace

BENCHMARK(BM_PngDecode)
    ->ArgsProduct({{1024, 2048}, {0, 1}})
    ->ArgNames({"size", "alpha"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngEncode)
    ->ArgsProduct({{1024, 2048}, {0, 1}})
    ->ArgNames({"size", "alpha"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale2xFilePipeline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngWriteUpscaled)
    ->ArgsProduct({{0, 1}, {2048, 1024}})
    ->ArgNames({"random", "size"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_PngSizeAgainstPeers)
    ->ArgsProduct({{2, 16, 64, 240}, {0, 1}, {1, 2, 3}})
    ->ArgNames({"colours", "transparent", "mode"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePeak)->DenseRange(0, 4)->ArgName("format")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-inputs") return writeInputs(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
