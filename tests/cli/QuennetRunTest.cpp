#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/MeasuredRun.h"
#include "image/PixelTestUtil.h"
#include "image/Surface.h"
#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "io/GifBuilder.h"
#include "io/IconBuilder.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/TempDir.h"
#include "io/codec/GifAnimationWriter.h"
#include "io/codec/ImageSourceFileGif.h"
#include "pipeline/Atlas.h"
#include "pipeline/AtlasUpscale.h"
#include "pipeline/HugeSpriteAtlas.h"

using namespace loom;
using loom::test::TempDir;

namespace {

struct RunResult {
    int status;
    std::string errors;
    std::string output;
};

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// Runs quennet with the arguments (already quoted), gathering its stderr and stdout.
RunResult quennet(const std::string& args) {
    TempDir dir;
    const std::string command =
        std::string(QUENNET_PATH) + " " + args + " 2>&1 >" + quoted(dir / "stdout");
    FILE* pipe = popen(command.c_str(), "r");
    std::string errors;
    char chunk[256];
    while (size_t n = std::fread(chunk, 1, sizeof(chunk), pipe)) errors.append(chunk, n);
    const int status = pclose(pipe);
    const auto output = loom::test::readFile(dir / "stdout");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, errors,
            std::string(output.begin(), output.end())};
}

void writeSprite(const std::string& path, int32_t w, int32_t h) {
    Surface s(w, h, true);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = s.getData(x, y);
            p[0] = uint8_t(x * 40), p[1] = uint8_t(y * 40), p[2] = 200, p[3] = (x + y) % 3 ? 255 : 0;
        }
    writeImage(path, std::make_shared<ImageSourceSurface>(s));
}

Surface load(const std::string& path) { return Surface(loadImage(path)); }

// Three frames of 3 x 2 pixels, each a colour of its own right of a transparent column (which
// Scale2x merely doubles), shown 10, 20 and 30 hundredths of a second, repeated three times.
void writeWalk(const std::string& path) {
    GifAnimationWriter writer(path, 3);
    for (int f = 0; f < 3; ++f) {
        Surface frame(3, 2, true);
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 3; ++x) {
                uint8_t* p = frame.getData(x, y);
                p[0] = uint8_t(80 * f), p[1] = 90, p[2] = uint8_t(250 - 60 * f), p[3] = x ? 255 : 0;
            }
        writer.addFrame(std::make_shared<ImageSourceSurface>(frame), 100 * (f + 1));
    }
    writer.finish();
}

// Every pixel of a Scale2x result of such a frame is its source pixel.
bool isDoubled(const Surface& result, const Surface& frame) {
    if (result.getWidth() != 2 * frame.getWidth() || result.getHeight() != 2 * frame.getHeight())
        return false;
    for (int32_t y = 0; y < result.getHeight(); ++y)
        for (int32_t x = 0; x < result.getWidth(); ++x)
            if (std::memcmp(result.getData(x, y), frame.getData(x / 2, y / 2), 4) != 0) return false;
    return true;
}

std::shared_ptr<ImageSourceFileGif> openGif(const std::string& path) {
    return std::make_shared<ImageSourceFileGif>(openFileSource(path), ImageSource::Options());
}

// Runs quennet with args (unquoted) where no further thread or process may start: a child under
// RLIMIT_NPROC of 1, run as nobody when the tests run as root, whom the limit does not bind. Its
// stdout and stderr go to errorsPath. The program runs from a copy in dir, which nobody can reach
// wherever the build lies. Returns the exit status, or 128 + the signal that ended it.
int quennetWithoutThreads(const TempDir& dir, const std::vector<std::string>& args,
                          const std::string& errorsPath) {
    const std::string program = dir / "quennet";
    std::filesystem::copy_file(QUENNET_PATH, program);
    chmod(program.c_str(), 0755);
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    // The leak checker needs a thread of its own at exit, which the limit forbids. Made before the
    // fork: the child may only call what is safe beside the parent's other threads.
    std::vector<std::string> variables{"ASAN_OPTIONS=detect_leaks=0"};
    for (char** v = environ; *v; ++v)
        if (std::strncmp(*v, "ASAN_OPTIONS=", 13) != 0) variables.emplace_back(*v);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        constexpr uid_t NOBODY = 65534;
        const int errors = open(errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (errors < 0 || dup2(errors, STDOUT_FILENO) < 0 || dup2(errors, STDERR_FILENO) < 0) _exit(120);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(NOBODY) != 0 || setuid(NOBODY) != 0))
            _exit(121);
        const rlimit one{1, 1};
        if (setrlimit(RLIMIT_NPROC, &one) != 0) _exit(122);
        execve(argv[0], argv.data(), envp.data());
        _exit(123);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST(Quennet, WritesBesideTheInputAndRefusesToOverwrite) {
    TempDir dir;
    writeSprite(dir / "hero.png", 5, 4);
    RunResult first = quennet("'" + (dir / "hero.png") + "'");
    ASSERT_EQ(first.status, 0) << first.errors;
    const Surface result = load(dir / "heroScale2x.png");
    EXPECT_EQ(result.getWidth(), 10);
    EXPECT_EQ(result.getHeight(), 8);

    const auto before = loom::test::readFile(dir / "heroScale2x.png");
    RunResult again =
        quennet("-u Scale3x -o '" + (dir / "heroScale2x.png") + "' '" + (dir / "hero.png") + "'");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.errors.find("exists"), std::string::npos) << again.errors;
    EXPECT_EQ(loom::test::readFile(dir / "heroScale2x.png"), before) << "the existing file is untouched";

    RunResult forced =
        quennet("-f -u Scale3x -o '" + (dir / "heroScale2x.png") + "' '" + (dir / "hero.png") + "'");
    EXPECT_EQ(forced.status, 0) << forced.errors;
    EXPECT_EQ(load(dir / "heroScale2x.png").getWidth(), 15);
}

TEST(Quennet, FolderBatchReportsABrokenFileWritesTheRestAndCounts) {
    TempDir dir;
    writeSprite(dir / "in/a.png", 3, 3);
    writeSprite(dir / "in/c.bmp", 4, 2);
    writeSprite(dir / "in/sub/d.png", 2, 2);  // only with -r
    loom::test::writeFile(dir / "in/b.png",
                          {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    loom::test::writeFile(dir / "in/notes.txt", {'x'});
    const std::string args = "-j 2 -u Scale4x -o " + quoted(dir / "out") + " " + quoted(dir / "in");
    RunResult run = quennet(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    EXPECT_NE(run.errors.find("b.png: not an image in a known format"), std::string::npos) << run.errors;
    EXPECT_EQ(load(dir / "out/aScale4x.png").getWidth(), 12);
    EXPECT_EQ(load(dir / "out/cScale4x.bmp").getWidth(), 16);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "out"), {}), 2);
    EXPECT_EQ(run.output, "2 written, 1 failed, 0 skipped\n");

    // Run again once the broken file is mended: only it is written, the others are skipped.
    writeSprite(dir / "in/b.png", 2, 2);
    RunResult again = quennet(args);
    EXPECT_EQ(again.status, 0) << again.errors;
    EXPECT_EQ(again.output.rfind("1 written, 0 failed, 2 skipped", 0), 0u) << again.output;
}

// Results beside their inputs are not taken as inputs the next time; extensions in any case.
TEST(Quennet, AFolderBatchCanRunTwiceAndAFolderOfSubfoldersPointsToRecursion) {
    TempDir dir;
    writeSprite(dir / "in/HERO.PNG", 2, 2);
    writeSprite(dir / "in/TILE.Bmp", 3, 3);
    writeSprite(dir / "in/dotScale2x.png", 1, 1);  // nothing named "dot" beside it: a source
    const RunResult first = quennet("-j 1 " + quoted(dir / "in"));
    ASSERT_EQ(first.status, 0) << first.errors;
    EXPECT_EQ(first.output, "3 written, 0 failed, 0 skipped\n");
    const RunResult second = quennet("-j 1 " + quoted(dir / "in"));
    ASSERT_EQ(second.status, 0) << second.errors;
    EXPECT_EQ(second.output.rfind("0 written, 0 failed, 3 skipped", 0), 0u) << second.output;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "in"), {}), 6);

    writeSprite(dir / "sheets/chars/hero.png", 2, 2);
    const RunResult flat = quennet(quoted(dir / "sheets"));
    EXPECT_EQ(flat.status, 0);
    EXPECT_NE(flat.errors.find("add -r"), std::string::npos) << flat.errors;
}

TEST(Quennet, RecursiveBatchKeepsTheLayoutAndNamesEveryFileWritten) {
    TempDir dir;
    for (const char* name : {"a.png", "chars/hero.png", "chars/big/boss.tif", ".hidden/x.png"})
        writeSprite(dir / "in/" + name, 2, 2);
    RunResult run = quennet("-j 1 -r -v -o " + quoted(dir / "out") + " " + quoted(dir / "in"));
    ASSERT_EQ(run.status, 0) << run.errors;
    for (const char* name : {"aScale2x.png", "chars/heroScale2x.png", "chars/big/bossScale2x.tif"})
        EXPECT_EQ(load(dir / "out/" + name).getWidth(), 4) << name;
    EXPECT_EQ(run.output,
              (dir / "in/a.png") + " -> " + (dir / "out/aScale2x.png") + "\n" +
                  (dir / "in/chars/hero.png") + " -> " + (dir / "out/chars/heroScale2x.png") + "\n" +
                  (dir / "in/chars/big/boss.tif") + " -> " + (dir / "out/chars/big/bossScale2x.tif") +
                  "\n3 written, 0 failed, 0 skipped\n")
        << "hidden folders are passed over";
}

TEST(Quennet, UsageErrorsExitWithTwoAndListingsWithZero) {
    EXPECT_EQ(quennet("").status, 2);
    EXPECT_EQ(quennet("-u Nope x.png").status, 2);
    EXPECT_EQ(quennet("--quality 2 x.png").status, 2);
    EXPECT_EQ(quennet("--list").status, 0);
    EXPECT_EQ(quennet("--version").status, 0);
    EXPECT_EQ(quennet("-h").status, 0);
    TempDir dir;
    EXPECT_EQ(quennet("'" + (dir / "missing.png") + "'").status, 1);
    // Several inputs need a folder for their results, not an image file.
    EXPECT_EQ(quennet("-o " + quoted(dir / "out.png") + " a.png b.png").status, 2);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(Quennet, TransformUsesTheQuadInSourcePixels) {
    TempDir dir;
    writeSprite(dir / "s.png", 8, 8);
    // A quad 12 x 6 source pixels in size, warped at the resolution of Scale2x (the default).
    RunResult run = quennet("-t Projective --quad 0,0,12,1,11,6,1,5 -o '" + (dir / "w.png") + "' '" +
                            (dir / "s.png") + "'");
    ASSERT_EQ(run.status, 0) << run.errors;
    const Surface warped = load(dir / "w.png");
    EXPECT_EQ(warped.getWidth(), 24);
    EXPECT_EQ(warped.getHeight(), 12);

    RunResult plain =
        quennet("-u None -t Bilinear -o '" + (dir / "b.tif") + "' '" + (dir / "s.png") + "'");
    ASSERT_EQ(plain.status, 0) << plain.errors;
    EXPECT_EQ(load(dir / "b.tif").getWidth(), 8) << "the default quad is the image rectangle";
}

// Where no thread can start (a process limit, a container) the warp's row bands and the PNG's
// pieces run on the one thread there is: the result is written, the same as with every core.
TEST(Quennet, AWarpOfRowBandsIsWrittenWhereNoThreadCanStart) {
    TempDir dir;
    chmod(dir.path().c_str(), 0777);  // for nobody, when run as root
    writeSprite(dir / "s.png", 160, 160);
    const std::vector<std::string> warp{"-t", "Projective", "--quad", "0,0,160,8,150,160,4,150", "-o"};
    auto args = [&](const std::string& output) {
        std::vector<std::string> all = warp;
        all.insert(all.end(), {dir / output, dir / "s.png"});
        return all;
    };
    const int status = quennetWithoutThreads(dir, args("alone.png"), dir / "errors");
    const auto errors = loom::test::readFile(dir / "errors");
    ASSERT_EQ(status, 0) << std::string(errors.begin(), errors.end());
    std::string everyCore;
    for (const std::string& word : args("cores.png")) everyCore += quoted(word) + " ";
    ASSERT_EQ(quennet(everyCore).status, 0);
    EXPECT_TRUE(loom::test::sameImage(load(dir / "alone.png"), load(dir / "cores.png")));
}

// ImageMagick's -magnify is Scale2x comparing colours only and copying the chosen pixel whole;
// twice it is Scale4x. On transparent sprites ours must match it pixel for pixel, alpha included.
TEST(Quennet, Scale2xAndScale4xMatchImageMagickOnTransparentSprites) {
    TempDir dir;
    // Whether quennet with these options writes what ImageMagick does for `mode` from the input.
    auto matchesPeer = [&](const std::string& mode, const std::string& options,
                           const std::string& input = "in.png") {
        const std::string magnify = mode == "Scale2x" ? "-magnify" : "-magnify -magnify";
        EXPECT_EQ(std::system(("convert " + quoted(dir / input) + " " + magnify + " " +
                               quoted("PNG32:" + (dir / "peer.png")))
                                  .c_str()),
                  0);
        RunResult ours = quennet("-f -u " + mode + " " + options + " -o " + quoted(dir / "ours.png") +
                                 " " + quoted(dir / input));
        EXPECT_EQ(ours.status, 0) << ours.errors;
        return loom::test::sameImage(load(dir / "ours.png"), load(dir / "peer.png"));
    };
    const Surface sprites[] = {loom::test::transparentSprite(), loom::test::transparentSprite(37, 29),
                               loom::test::randomPaletteImage(40, 33, ChannelOrder::RGBA, 3, 7)};
    for (const Surface& sprite : sprites) {
        writeImage(dir / "in.png", std::make_shared<ImageSourceSurface>(sprite));
        for (const char* mode : {"Scale2x", "Scale4x"})
            EXPECT_TRUE(matchesPeer(mode, "--compare colour"))
                << mode << " on " << sprite.getWidth() << "x" << sprite.getHeight();
    }
    // The sprite's outline differs from the black hidden beside it only in alpha: by default, and
    // with alpha compared, it stays an edge.
    writeImage(dir / "in.png", std::make_shared<ImageSourceSurface>(sprites[0]));
    EXPECT_FALSE(matchesPeer("Scale2x", "")) << "the default compares as seen";
    EXPECT_FALSE(matchesPeer("Scale2x", "--compare-alpha")) << "--compare-alpha reaches the upscaler";
    // As a GIF whose transparent index is magenta, the transparent pixels hide magenta.
    ASSERT_EQ(std::system(("convert " + quoted(dir / "in.png") +
                           " -background magenta -alpha background " + quoted(dir / "in.gif"))
                              .c_str()),
              0);
    EXPECT_TRUE(matchesPeer("Scale4x", "--compare colour", "in.gif"));
}

// A result of four colours, two translucent, is written with two bits a pixel and a
// transparency chunk; ImageMagick reads it to the pixels we read.
TEST(Quennet, ImageMagickReadsOurTwoBitTransparentPalette) {
    TempDir dir;
    Surface four(21, 13, true);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 21; ++x)
            loom::test::setPixel(four, x, y, (x + y) % 2 ? 0x336699 : 0xCC9933, (x * y) % 3 ? 7 : 255);
    writeImage(dir / "in.png", std::make_shared<ImageSourceSurface>(four));
    RunResult run = quennet("-o " + quoted(dir / "ours.png") + " " + quoted(dir / "in.png"));
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto bytes = loom::test::readFile(dir / "ours.png");
    EXPECT_EQ(bytes[24], 2) << "bit depth";
    EXPECT_EQ(bytes[25], 3) << "colour type: palette";
    ASSERT_EQ(
        std::system(("convert " + quoted(dir / "ours.png") + " " + quoted("PNG32:" + (dir / "peer.png")))
                        .c_str()),
        0);
    EXPECT_TRUE(loom::test::sameImage(load(dir / "ours.png"), load(dir / "peer.png")));
}

TEST(Quennet, ATransparentResultWrittenAsJpegSaysWhatBecameOfItsTransparency) {
    TempDir dir;
    writeImage(dir / "sprite.png",
               std::make_shared<ImageSourceSurface>(loom::test::transparentSprite()));
    const RunResult run = quennet("-o " + quoted(dir / "sprite.jpg") + " " + quoted(dir / "sprite.png"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.errors.find("has no transparency"), std::string::npos) << run.errors;
    const Surface opaque3x3(3, 3, false);
    std::memset(opaque3x3.getData(), 90, size_t(opaque3x3.getRowBytes()) * 3);
    writeImage(dir / "opaque.png", std::make_shared<ImageSourceSurface>(opaque3x3));
    const RunResult opaque =
        quennet("-o " + quoted(dir / "opaque.jpg") + " " + quoted(dir / "opaque.png"));
    EXPECT_EQ(opaque.errors, "");
}

TEST(Quennet, UnknownOutputExtensionFailsBeforeReading) {
    TempDir dir;
    writeSprite(dir / "s.png", 2, 2);
    RunResult run = quennet("-o '" + (dir / "out.xyz") + "' '" + (dir / "s.png") + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("cannot write images of type \"xyz\""), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.xyz"));
}

// Games swap palettes by index: an indexed source's colour table comes through in its order, at
// the smallest depth that holds it, while the result's colours all are in it.
TEST(Quennet, AnIndexedSourceKeepsItsPaletteInItsOrder) {
    TempDir dir;
    const std::vector<uint32_t> table = {0x102030, 0xF0E0D0, 0x00FF00, 0xFF00FF, 0x808080};
    const std::vector<uint8_t> indices = {3, 3, 0, 0, 3, 3, 3, 0, 1, 1, 0, 3, 0, 1, 2, 2, 1, 0};
    loom::test::writeGif(dir / "in.gif", 6, 3, table, {{0, 0, 6, 3, indices, {}, 3, 0}});
    const Palette expected = {{0x10, 0x20, 0x30, 255},
                              {0xF0, 0xE0, 0xD0, 255},
                              {0, 255, 0, 255},
                              {255, 0, 255, 0},
                              {128, 128, 128, 255}};
    const Surface upscaled = loom::upscale(load(dir / "in.gif"), 1);
    for (const std::string name : {"out.png", "out.gif"}) {
        ASSERT_EQ(quennet("-o " + quoted(dir / name) + " " + quoted(dir / "in.gif")).status, 0) << name;
        const Palette written = loadImage(dir / name)->getPalette();
        ASSERT_GE(written.size(), expected.size()) << name;
        EXPECT_EQ(Palette(written.begin(), written.begin() + long(expected.size())), expected) << name;
        EXPECT_TRUE(loom::test::sameImage(load(dir / name), upscaled)) << name;
    }
    EXPECT_EQ(loom::test::readFile(dir / "out.png")[24], 4) << "five entries take four bits";
    // The warp's empty corners bring a colour the table lacks, (0, 0, 0, 0): in a PNG the picture's
    // own palette then (a GIF gives every transparent pixel the table's transparent colour).
    ASSERT_EQ(quennet("-t Projective --quad 1,0,6,0,6,3,0,3 -o " + quoted(dir / "warped.png") + " " +
                      quoted(dir / "in.gif"))
                  .status,
              0);
    EXPECT_NE(loadImage(dir / "warped.png")->getPalette(), expected);
}

// An animation upscaled into a GIF and into an APNG, and that APNG into a GIF again: every frame,
// its delay and the looping kept.
// An animated sheet keeps its frames, each cut by the atlas alike.
TEST(Quennet, AnAtlasAppliesToEveryFrameOfAnAnimatedSheet) {
    TempDir dir;
    writeWalk(dir / "walk.gif");
    std::ofstream(dir / "walk.json")
        << R"({"frames": {"left": {"frame": {"x": 0, "y": 0, "w": 1, "h": 2}},
                                                       "right": {"frame": {"x": 1, "y": 0, "w": 2, "h": 2}}}})";
    const RunResult run = quennet("--atlas " + quoted(dir / "walk.json") + " -o " +
                                  quoted(dir / "big.gif") + " " + quoted(dir / "walk.gif"));
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto input = openGif(dir / "walk.gif");
    const auto output = openGif(dir / "big.gif");
    EXPECT_EQ(output->getFrameCount(), 3);
    for (int f = 0; f < 3; ++f, input->nextFrame(), output->nextFrame())
        EXPECT_TRUE(isDoubled(Surface(output), Surface(input))) << "frame " << f;
}

TEST(Quennet, AnimationsKeepEveryFrameTheirDelaysAndTheLoopingInGifAndPng) {
    TempDir dir;
    writeWalk(dir / "walk.gif");
    for (const auto& [from, to] :
         {std::pair{"walk.gif", "walk2.gif"}, std::pair{"walk.gif", "walk2.png"},
          std::pair{"walk2.png", "walk4.gif"}}) {
        RunResult run = quennet("-o " + quoted(dir / to) + " " + quoted(dir / from));
        ASSERT_EQ(run.status, 0) << run.errors;
        const ImageSourceRef input = loadImage(dir / from);
        const ImageSourceRef output = loadImage(dir / to);
        EXPECT_EQ(output->getFrameCount(), 3) << to;
        EXPECT_EQ(output->getLoopCount(), 3) << to;
        for (int f = 0; f < 3; ++f) {
            EXPECT_EQ(output->getFrameDelayMs(), 100 * (f + 1)) << to;
            EXPECT_TRUE(isDoubled(Surface(output), Surface(input))) << to << ", frame " << f;
            EXPECT_EQ(output->nextFrame(), f < 2);
            input->nextFrame();
        }
    }
}

// GIF to WebP and back, each step upscaled: every frame doubled, its delay and the looping kept.
TEST(Quennet, AnimatedGifToWebpAndBackKeepsEveryFrame) {
    TempDir dir;
    writeWalk(dir / "walk.gif");
    const struct {
        std::string from, to;
    } steps[] = {{"walk.gif", "walk.webp"}, {"walk.webp", "back.gif"}};
    for (const auto& step : steps) {
        RunResult run = quennet("-o " + quoted(dir / step.to) + " " + quoted(dir / step.from));
        ASSERT_EQ(run.status, 0) << run.errors;
        const ImageSourceRef input = loadImage(dir / step.from);
        const ImageSourceRef output = loadImage(dir / step.to);
        EXPECT_EQ(output->getFrameCount(), 3) << step.to;
        EXPECT_EQ(output->getLoopCount(), 3) << step.to;
        for (int f = 0; f < 3; ++f) {
            EXPECT_EQ(output->getFrameDelayMs(), 100 * (f + 1)) << step.to;
            EXPECT_TRUE(isDoubled(Surface(output), Surface(input))) << step.to << " frame " << f;
            output->nextFrame();
            input->nextFrame();
        }
    }
}

TEST(Quennet, AnimatedGifToAnotherFormatWritesTheFirstFrameAndSaysSo) {
    TempDir dir;
    writeWalk(dir / "walk.gif");
    RunResult run = quennet("-o " + quoted(dir / "walk.bmp") + " " + quoted(dir / "walk.gif"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.errors.find("only the first of its 3 frames"), std::string::npos) << run.errors;
    EXPECT_TRUE(isDoubled(load(dir / "walk.bmp"), Surface(openGif(dir / "walk.gif"))));
}

// An icon of a 2x2 and a 3x3 picture: the larger by default, the other with --frame.
TEST(Quennet, FramePicksAPictureOfAnIconAndSaysHowManyThereAre) {
    TempDir dir;
    const loom::test::BitmapPicture small{2, 2, 8, {0xFF0000, 0x00FF00}, {0, 1, 1, 0}};
    loom::test::writeFile(dir / "app.ico",
                          loom::test::iconFile({loom::test::bitmapPicture(small),
                                                loom::test::pngPicture(Surface(3, 3, true))}));
    RunResult largest = quennet("-o " + quoted(dir / "largest.png") + " " + quoted(dir / "app.ico"));
    ASSERT_EQ(largest.status, 0) << largest.errors;
    EXPECT_EQ(load(dir / "largest.png").getWidth(), 6);
    RunResult first =
        quennet("--frame 1 -o " + quoted(dir / "first.png") + " " + quoted(dir / "app.ico"));
    ASSERT_EQ(first.status, 0) << first.errors;
    const Surface picked = load(dir / "first.png");
    EXPECT_EQ(picked.getWidth(), 4);
    EXPECT_EQ(loom::test::colourAt(picked, 0, 0), 0xFF0000u);

    RunResult beyond = quennet("--frame 3 -o " + quoted(dir / "x.png") + " " + quoted(dir / "app.ico"));
    EXPECT_EQ(beyond.status, 1);
    EXPECT_NE(beyond.errors.find("there is no picture 3: the file holds 2"), std::string::npos)
        << beyond.errors;
    writeSprite(dir / "one.png", 2, 2);
    RunResult single = quennet("--frame 2 " + quoted(dir / "one.png"));
    EXPECT_NE(single.errors.find("there is no picture 2: the file holds 1"), std::string::npos)
        << single.errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
    // An animation's frame, as a still picture whatever the output's format.
    writeWalk(dir / "walk.gif");
    const auto walk = openGif(dir / "walk.gif");
    walk->nextFrame();
    const Surface second(walk);
    ASSERT_EQ(
        quennet("--frame 2 -o " + quoted(dir / "second.gif") + " " + quoted(dir / "walk.gif")).status,
        0);
    EXPECT_EQ(loadImage(dir / "second.gif")->getFrameCount(), 1);
    EXPECT_TRUE(isDoubled(load(dir / "second.gif"), second));
    RunResult past = quennet("--frame 4 " + quoted(dir / "walk.gif"));
    EXPECT_NE(past.errors.find("there is no frame 4: the animation has 3"), std::string::npos)
        << past.errors;
}

TEST(Quennet, AtlasUpscalesTheSheetByItsFramesAndWritesTheAtlasScaledBeside) {
    TempDir dir;
    writeSprite(dir / "sheet.png", 6, 4);
    loom::test::writeFile(dir / "sheet.json", [] {
        const std::string text = R"({"frames": [
          {"filename": "left", "frame": {"x": 0, "y": 0, "w": 3, "h": 4}},
          {"filename": "right", "frame": {"x": 3, "y": 0, "w": 4, "h": 3}, "rotated": true}],
          "meta": {"image": "sheet.png", "size": {"w": 6, "h": 4}}})";
        return std::vector<uint8_t>(text.begin(), text.end());
    }());
    RunResult run = quennet("-u Scale3x --compare rgba --edges wrap --atlas '" + (dir / "sheet.json") +
                            "' '" + (dir / "sheet.png") + "'");
    ASSERT_EQ(run.status, 0) << run.errors;

    const Atlas atlas = readAtlas(dir / "sheet.json");
    const Surface expected =
        upscaleByFrames(load(dir / "sheet.png"), framesOnSheet(atlas, 6, 4, 3), findUpscaler("Scale3x"),
                        PixelMatch::ColourAndAlpha, EdgeRule::Wrap);
    EXPECT_TRUE(loom::test::sameImage(load(dir / "sheetScale3x.png"), expected));
    const auto written = loom::test::readFile(dir / "sheetScale3x.json");
    const auto scaled = nlohmann::ordered_json::parse(written.begin(), written.end());
    EXPECT_EQ(scaled["meta"]["image"], "sheetScale3x.png");
    EXPECT_EQ(scaled["frames"][1]["frame"]["x"], 9);
}

TEST(Quennet, AtlasRefusesTransformsSeveralSheetsAndBrokenAtlasesWritingNothing) {
    TempDir dir;
    writeSprite(dir / "sheet.png", 6, 4);
    writeSprite(dir / "in/other.png", 6, 4);
    const std::string overlapping = R"({"frames": {"a": {"frame": {"x": 0, "y": 0, "w": 3, "h": 3}},
                                                    "b": {"frame": {"x": 2, "y": 1, "w": 3, "h": 3}}}})";
    loom::test::writeFile(dir / "sheet.json",
                          std::vector<uint8_t>(overlapping.begin(), overlapping.end()));
    const std::string atlas = "--atlas '" + (dir / "sheet.json") + "' ";
    const std::string sheet = quoted(dir / "sheet.png");
    struct Case {
        std::string args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {atlas + "-t Projective " + sheet, 2, "--transform"},
        {atlas + sheet + " " + quoted(dir / "in/other.png"), 2, "one sheet"},
        {atlas + quoted(dir / "in"), 2, "one sheet"},
        {atlas + sheet, 1, "frame \"a\" and frame \"b\" overlap"},
    };
    for (const Case& c : cases) {
        const RunResult run = quennet(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "sheetScale2x.png"));
    EXPECT_FALSE(std::filesystem::exists(dir / "sheetScale2x.json"));
}

// Refused from the atlas's numbers alone: the sprite it claims is never allocated.
TEST(Quennet, AtlasRefusesASpriteTooLargeOnceEnlargedBeforeAllocatingIt) {
    TempDir dir, logs;
    loom::test::writeHugeSpriteAtlas(dir / "hero.png", dir / "hero.json");
    const loom::test::MeasuredRun run = loom::test::runMeasured(
        QUENNET_PATH, {"-u", "Scale2x", "--atlas", dir / "hero.json", dir / "hero.png"},
        logs / "errors");
    const auto errors = loom::test::readFile(logs / "errors");
    const std::string message(errors.begin(), errors.end());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(message.find(dir / "hero.json: frame \"hero\": its sprite of 24000 x 24000"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("(32768 pixels a side, 268435456 pixels in all)"), std::string::npos)
        << message;
    auto entries = dir.entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"hero.json", "hero.png"}));
    if (loom::test::UNDER_SANITIZER) GTEST_SKIP() << "memory is not measured under sanitizers";
    EXPECT_LT(run.peakKilobytes, 256 * 1024);
}

// The name is the user's bytes; the atlas's meta.image says it in UTF-8 as best it can.
TEST(Quennet, AtlasIsWrittenBesideAResultNamedInBytesThatAreNotUtf8) {
    TempDir dir;
    writeSprite(dir / "sheet.png", 4, 2);
    std::ofstream(dir / "sheet.json")
        << R"({"frames": {"a": {"frame": {"x": 0, "y": 0, "w": 4, "h": 2}}},
                                            "meta": {"image": "sheet.png"}})";
    const RunResult run = quennet("--atlas " + quoted(dir / "sheet.json") + " -o " +
                                  quoted(dir / "\xff.png") + " " + quoted(dir / "sheet.png"));
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(std::filesystem::exists(dir / "\xff.png"));
    const auto written = loom::test::readFile(dir / "\xff.json");
    EXPECT_EQ(nlohmann::ordered_json::parse(written.begin(), written.end())["meta"]["image"],
              "\xef\xbf\xbd.png");
}

// An atlas that cannot be put in place takes the result with it; a result there before stays.
TEST(Quennet, AResultAndItsAtlasAreWrittenBothOrNeither) {
    TempDir dir;
    writeSprite(dir / "sheet.png", 4, 2);
    std::ofstream(dir / "sheet.json")
        << R"({"frames": {"a": {"frame": {"x": 0, "y": 0, "w": 4, "h": 2}}}})";
    std::filesystem::create_directory(dir / "sheetScale2x.json");
    const std::string args =
        "--force --atlas " + quoted(dir / "sheet.json") + " " + quoted(dir / "sheet.png");
    for (const bool resultThere : {false, true}) {
        if (resultThere) loom::test::writeFile(dir / "sheetScale2x.png", {'o', 'l', 'd'});
        const RunResult run = quennet(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find("sheetScale2x.json"), std::string::npos) << run.errors;
        auto entries = dir.entries();
        std::sort(entries.begin(), entries.end());
        std::vector<std::string> expected{"sheet.json", "sheet.png", "sheetScale2x.json"};
        if (resultThere) expected.push_back("sheetScale2x.png");
        EXPECT_EQ(entries, expected) << "no temporary file is left";
        if (resultThere) {
            EXPECT_EQ(loom::test::readFile(dir / "sheetScale2x.png").size(), 3u);
        }
    }
}
