#include "tools/Image.h"

#include <sstream>

#include "tools/Process.h"

namespace loom::testtools {

namespace {

// "P6 w h 255" then RGB bytes.
Image parsePpm(const std::string& data) {
    std::istringstream in(data);
    std::string magic;
    int w = 0, h = 0, maxValue = 0;
    in >> magic >> w >> h >> maxValue;
    in.get();
    Image image;
    if (magic != "P6" || w <= 0 || h <= 0 || maxValue != 255) return image;
    const size_t offset = size_t(in.tellg());
    const size_t size = size_t(w) * size_t(h) * 3;
    if (data.size() < offset + size) return image;
    image.width = w;
    image.height = h;
    image.channels = 3;
    image.pixels.assign(data.begin() + long(offset), data.begin() + long(offset + size));
    return image;
}

}  // namespace

Image readImageFile(const std::string& path) {
    Image image;
    const CommandResult size = run({"identify", "-format", "%w %h", path + "[0]"});
    if (size.status != 0) return image;
    std::istringstream(size.output) >> image.width >> image.height;
    const CommandResult data = run({"convert", path + "[0]", "-alpha", "on", "-depth", "8", "rgba:-"});
    if (data.status != 0 || data.output.size() != size_t(image.width) * size_t(image.height) * 4)
        return Image();
    image.channels = 4;
    image.pixels.assign(data.output.begin(), data.output.end());
    return image;
}

Image grabWindow(const std::string& window) {
    return parsePpm(run({"timeout", "10", "import", "-window", window, "-depth", "8", "ppm:-"}).output);
}

}  // namespace loom::testtools
