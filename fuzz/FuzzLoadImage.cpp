// Fuzz target: any bytes through the registrar's decoders and into a Surface; then, for what
// loads, what a conversion does with it: every frame of an animated GIF walked and written as an
// animated GIF, the image written as GIF and as PNG, and each written file read back. A refusal by
// exception is a clean outcome. A crash, a sanitizer report, or a written file that does not read
// back as what was written (both formats are lossless) is a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/DataSource.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/codec/GifAnimationWriter.h"
#include "io/codec/ImageSourceFileGif.h"

namespace {

using namespace loom;

// A small file may declare a large canvas: the writes are bounded so that no legitimate input
// trips the fuzzer's time or memory limits.
constexpr int64_t MAX_STILL_PIXELS = int64_t(1) << 20;
constexpr int64_t MAX_ANIMATION_PIXELS = int64_t(1) << 22;  // summed over the frames

// A directory of this process's own for the written files, removed at exit.
class ScratchDir {
public:
    ScratchDir() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-io-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const char* name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

const ScratchDir& scratch() {
    static const ScratchDir dir;
    return dir;
}

[[noreturn]] void finding(const std::string& what) {
    std::fprintf(stderr, "finding: %s\n", what.c_str());
    std::abort();
}

// Runs a check on a written file: any exception there means a file was written that does not
// read back, a finding rather than a refusal.
template <typename Check>
void readingBack(const std::string& what, Check check) {
    try {
        check();
    } catch (const std::exception& e) {
        finding(what + " does not read back: " + e.what());
    }
}

// Same size and the same pixels, compared as RGBA. Under alpha 0 the colour is not compared: GIF
// keeps one transparent colour, whatever the pixels hid.
bool samePixels(const Surface& a, const Surface& b) {
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight()) return false;
    const Surface x(std::make_shared<ImageSourceSurface>(a), SurfaceConstraintsDefault(), true);
    const Surface y(std::make_shared<ImageSourceSurface>(b), SurfaceConstraintsDefault(), true);
    for (int32_t row = 0; row < x.getHeight(); ++row)
        for (int32_t col = 0; col < x.getWidth(); ++col) {
            const uint8_t* p = x.getData(col, row);
            const uint8_t* q = y.getData(col, row);
            if (p[3] != q[3] || (p[3] != 0 && std::memcmp(p, q, 3) != 0)) return false;
        }
    return true;
}

void writeAndReadBack(const Surface& image, const char* name) {
    const std::string path = scratch().file(name);
    try {
        writeImage(path, std::make_shared<ImageSourceSurface>(image));
    } catch (const std::exception&) {
        return;  // refused, e.g. GIF and more than 256 colours
    }
    readingBack(name, [&] {
        if (!samePixels(image, Surface(loadImage(path))))
            finding(std::string(name) + " does not read back as written");
    });
}

// Walks the frames of any animation from the current one on, as the command-line tool does,
// writing them as an animated GIF while GIF can hold them; what was written must read back frame
// by frame (delays rounded to GIF's hundredths of a second).
void walkAnimation(const ImageSourceRef& animation) {
    const int64_t pixels = int64_t(animation->getWidth()) * animation->getHeight();
    if (pixels * animation->getFrameCount() > MAX_ANIMATION_PIXELS) return;
    const std::string path = scratch().file("animation.gif");
    std::optional<GifAnimationWriter> writer(std::in_place, path, animation->getLoopCount());
    std::vector<Surface> frames;
    std::vector<int32_t> delays;
    do {
        const Surface frame(animation);
        if (!writer) continue;
        try {
            writer->addFrame(std::make_shared<ImageSourceSurface>(frame), animation->getFrameDelayMs());
            frames.push_back(frame);
            delays.push_back(GifAnimationWriter::gifDelay(animation->getFrameDelayMs()) * 10);
        } catch (const std::exception&) {
            writer.reset();  // refused; the rest is still walked
        }
    } while (animation->nextFrame());
    if (!writer) return;
    writer->finish();

    readingBack("the animation", [&] {
        const auto back = std::dynamic_pointer_cast<ImageSourceFileGif>(loadImage(path));
        if (!back) finding("a written animation does not load as a GIF");
        if (back->getFrameCount() != int32_t(frames.size()))
            finding("the animation reads back with " + std::to_string(back->getFrameCount()) +
                    " frames, " + std::to_string(frames.size()) + " written");
        if (back->getLoopCount() != animation->getLoopCount())
            finding("the loop count does not read back");
        for (size_t i = 0; i < frames.size(); ++i) {
            if (i > 0 && !back->nextFrame()) finding("a written frame is missing");
            if (back->getFrameDelayMs() != delays[i]) finding("a frame's delay does not read back");
            if (!samePixels(frames[i], Surface(back))) finding("a written frame does not read back");
        }
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        auto source = makeBufferSource(Buffer(const_cast<uint8_t*>(data), static_cast<int32_t>(size)));
        ImageSource::Options options;
        // The last byte picks a frame and a page now and then, so those paths are reached too.
        if (size > 0 && data[size - 1] < 4) options.setIndex(data[size - 1]).setPage(data[size - 1]);
        const ImageSourceRef loaded = loadImage(source, options);
        const Surface image(loaded);
        if (int64_t(image.getWidth()) * image.getHeight() <= MAX_STILL_PIXELS) {
            writeAndReadBack(image, "still.gif");
            writeAndReadBack(image, "still.png");
        }
        if (loaded->getFrameCount() > 1) walkAnimation(loaded);
    } catch (const std::exception&) {
    }
    return 0;
}
