// Small hand-made files that declare far more than they hold, each run through the real program as
// a user would: every one is refused with a message saying what was too large, and the process
// stays far below the gigabytes the declared sizes would take. Peak memory and time are printed
// for the record; only a generous memory ceiling is asserted.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "io/GifBuilder.h"
#include "io/TempDir.h"

using loom::test::TempDir;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool UNDER_SANITIZER = true;
#else
constexpr bool UNDER_SANITIZER = false;
#endif

// Far below what any of these files declares, far above what refusing one needs.
constexpr int64_t MEMORY_CEILING_KIB = 768 * 1024;

struct Finished {
    int status = -1;  // -1 when a signal ended it
    std::string errors;
    int64_t peakKiB = 0;
    double seconds = 0;
};

// Runs quennet with args in a child of its own, so that its peak memory is its own.
Finished runQuennet(const std::vector<std::string>& args, const std::string& errorsPath) {
    std::vector<std::string> argv{QUENNET_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int errors = open(errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int nothing = open("/dev/null", O_RDWR);
        dup2(nothing, 0), dup2(nothing, 1), dup2(errors, 2);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    Finished finished;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return finished;
    finished.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    finished.peakKiB = usage.ru_maxrss;
    const std::vector<uint8_t> text = loom::test::readFile(errorsPath);
    finished.errors.assign(text.begin(), text.end());
    return finished;
}

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
};

TEST(HostileFiles, AreRefusedSayingWhatWasTooLargeWithinAFewHundredMegabytes) {
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
    };
    for (const Hostile& c : cases) {
        TempDir dir;
        const std::string input = dir / c.file;
        c.write(input);
        std::vector<std::string> args{input};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"-o", dir / "out.png"});
        const Finished run = runQuennet(args, dir / "errors");
        std::cout << "[ figures  ] " << c.name << ": exit " << run.status << ", peak "
                  << run.peakKiB / 1024 << " MiB, " << run.seconds << " s: " << run.errors;
        EXPECT_EQ(run.status, 1) << c.name << ": " << run.errors;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << c.name << ": " << run.errors;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.png")) << c.name;
        if (!UNDER_SANITIZER) EXPECT_LT(run.peakKiB, MEMORY_CEILING_KIB) << c.name;
    }
}

}  // namespace
