// Small hand-made files that declare far more than they hold, each run through the real program as
// a user would: each is refused with a message saying what was too large, or read for what it
// holds, and the process stays far below the gigabytes the declared sizes would take. Peak memory and
// time are printed for the record; only a generous memory ceiling is asserted.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "cli/MeasuredRun.h"
#include "io/GifBuilder.h"
#include "io/TempDir.h"
#include "io/WebpBuilder.h"

using loom::test::TempDir;
using loom::test::UNDER_SANITIZER;

namespace {

// Far below what any of these files declares, far above what refusing one needs.
constexpr int64_t MEMORY_CEILING_KIB = 768 * 1024;

void appendBigEndian32(std::vector<uint8_t>& bytes, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(v >> shift));
}

// A valid QOI picture of width x height pixels of one colour: runs of 62, 4 MB for 16000 x 16000.
void writeQoiOfOneColour(const std::string& path, uint32_t width, uint32_t height) {
    std::vector<uint8_t> bytes{'q', 'o', 'i', 'f'};
    appendBigEndian32(bytes, width);
    appendBigEndian32(bytes, height);
    bytes.insert(bytes.end(), {4, 0, 0xFE, 40, 90, 200});  // the first pixel, then its repeats
    for (uint64_t left = uint64_t(width) * height - 1; left > 0; left -= std::min<uint64_t>(left, 62))
        bytes.push_back(uint8_t(0xC0 | (std::min<uint64_t>(left, 62) - 1)));
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0, 0, 0, 1});
    loom::test::writeFile(path, bytes);
}

// A GIF whose 16384 x 16384 canvas holds one pixel, padded to 400 KB so that its size could fill
// the canvas.
void writePaddedGifCanvas(const std::string& path) {
    loom::test::writeGif(path, 16384, 16384, {0x000000, 0xFFFFFF}, {{0, 0, 1, 1, {1}, {}}});
    std::vector<uint8_t> bytes = loom::test::readFile(path);
    bytes.resize(400 * 1024, 0);
    loom::test::writeFile(path, bytes);
}

struct Hostile {
    const char* name;
    const char* file;
    std::function<void(const std::string&)> write;
    std::vector<std::string> args;  // after the input's path
    std::string message;            // part of what stderr must say
    std::string output = "out.png";
    int status = 1;  // a refusal; 0 for a file read within bounds
};

std::function<void(const std::string&)> bytes(std::vector<uint8_t> (*make)()) {
    return [make](const std::string& path) { loom::test::writeFile(path, make()); };
}

// 130 frames of 16777215 ms each: their sum passes 2^31 ms.
std::vector<uint8_t> longestWebpDelays() {
    return loom::test::animatedWebp(
        1, 1, std::vector<loom::test::WebpFrameSpec>(130, {0, 0, 1, 1, (1 << 24) - 1, 0x808080ff}));
}

TEST(HostileFiles, AreRefusedOrReadWithinAFewHundredMegabytes) {
    const std::vector<Hostile> cases = {
        {"valid 16000 x 16000 QOI, enlarged",
         "big.qoi",
         [](const std::string& p) { writeQoiOfOneColour(p, 16000, 16000); },
         {"-u", "Scale2x"},
         "result too large: 16000 x 16000 pixels enlarged 2 times would be 32000 x 32000 pixels"},
        {"GIF padded to fill a 16384 x 16384 canvas, enlarged",
         "padded.gif",
         writePaddedGifCanvas,
         {"-u", "Scale2x"},
         "result too large: 16384 x 16384 pixels enlarged 2 times"},
        {"140-byte WebP claiming a 16384 x 16384 canvas",
         "canvas.webp",
         bytes(loom::test::hugeCanvasTinyFramesWebp),
         {"-u", "None"},
         "its 16384 x 16384 canvas is more than its frames"},
        {"the same WebP, its second frame",
         "canvas.webp",
         bytes(loom::test::hugeCanvasTinyFramesWebp),
         {"-u", "None", "--frame", "2"},
         "its 16384 x 16384 canvas is more than its frames"},
        {"WebP whose delays add up past 2^31 ms, as a GIF",
         "long.webp",
         bytes(longestWebpDelays),
         {"-u", "Scale2x"},
         "were shortened to 655350 ms, the longest a GIF holds",
         "out.gif",
         0},
    };
    for (const Hostile& c : cases) {
        TempDir dir;
        const std::string input = dir / c.file;
        c.write(input);
        std::vector<std::string> args{input};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const std::string output = dir / c.output;
        args.insert(args.end(), {"-o", output});
        const auto start = std::chrono::steady_clock::now();
        const loom::test::MeasuredRun run = loom::test::runMeasured(QUENNET_PATH, args, dir / "errors");
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const std::vector<uint8_t> text = loom::test::readFile(dir / "errors");
        const std::string errors(text.begin(), text.end());
        std::cout << "[ figures  ] " << c.name << ": exit " << run.status << ", peak "
                  << run.peakKilobytes / 1024 << " MiB, " << took.count() << " s: " << errors;
        EXPECT_EQ(run.status, c.status) << c.name << ": " << errors;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.name << ": " << errors;
        // Written whole or not at all, and no temporary file left beside it.
        EXPECT_EQ(std::filesystem::exists(output), c.status == 0) << c.name;
        EXPECT_EQ(dir.entries().size(), c.status == 0 ? 3u : 2u)
            << c.name << ": only the input, the errors and the output";
        EXPECT_TRUE(UNDER_SANITIZER || run.peakKilobytes < MEMORY_CEILING_KIB)
            << c.name << ": " << run.peakKilobytes << " KiB";
    }
}

}  // namespace
