// Pictures the GUI tests compare: image files and window contents, read through ImageMagick as
// 8-bit pixels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace loom::testtools {

// An 8-bit RGB or RGBA picture, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<uint8_t> pixels;

    bool empty() const { return width == 0; }
    std::array<uint8_t, 3> rgb(int x, int y) const {
        const uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * size_t(channels)];
        return {p[0], p[1], p[2]};
    }
    uint8_t alpha(int x, int y) const {
        return channels == 4 ? pixels[(size_t(y) * size_t(width) + size_t(x)) * 4 + 3] : 255;
    }
};

// The first frame of any image file ImageMagick reads, as RGBA; empty when it cannot be read.
Image readImageFile(const std::string& path);

// The pixels of the X window (an id as xdotool prints it) as shown on the screen, RGB; empty when
// they cannot be read.
Image grabWindow(const std::string& window);

}  // namespace loom::testtools
