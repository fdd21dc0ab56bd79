// Animated WebP files made byte by byte: a canvas of any declared size and frames of one colour
// each, placed anywhere on it, for tests of what our reader makes of layouts and durations that no
// encoder writes. Each frame's pixels are a lossless bitstream made by libwebp.
#pragma once

#include <webp/encode.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace loom::test {

struct WebpFrameSpec {
    int left = 0, top = 0, width = 1, height = 1;  // left and top even, as the format stores them
    int durationMs = 100;                          // at most 2^24 - 1
    uint32_t rgba = 0xff0000ff;                    // 0xRRGGBBAA
};

namespace webp_builder {

inline void put24(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 24; shift += 8) out.push_back(uint8_t(v >> shift));
}

inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put24(out, v);
    out.push_back(uint8_t(v >> 24));
}

inline void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    out.insert(out.end(), type, type + 4);
    put32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
}

// The VP8L chunk, header and all, of a picture of one colour.
inline std::vector<uint8_t> solidVp8lChunk(int width, int height, uint32_t rgba) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < width * height; ++i)
        for (int shift = 24; shift >= 0; shift -= 8) pixels.push_back(uint8_t(rgba >> shift));
    uint8_t* encoded = nullptr;
    const size_t size = WebPEncodeLosslessRGBA(pixels.data(), width, height, width * 4, &encoded);
    const std::vector<uint8_t> file(encoded, encoded + size);
    WebPFree(encoded);
    if (size < 20 || std::memcmp(file.data() + 12, "VP8L", 4) != 0)
        throw std::runtime_error("libwebp made no plain lossless file");
    return std::vector<uint8_t>(file.begin() + 12, file.end());
}

}  // namespace webp_builder

// An animated WebP of the frames on a canvas of the given size (each side at most 2^24), played
// for ever; frames are drawn without blending and left in place.
inline std::vector<uint8_t> animatedWebp(uint32_t canvasWidth, uint32_t canvasHeight,
                                         const std::vector<WebpFrameSpec>& frames) {
    using namespace webp_builder;
    std::vector<uint8_t> body = {'W', 'E', 'B', 'P'}, data;
    data = {0x12, 0, 0, 0};  // animation and alpha
    put24(data, canvasWidth - 1), put24(data, canvasHeight - 1);
    putChunk(body, "VP8X", data);
    data.clear(), put32(data, 0), data.push_back(0), data.push_back(0);
    putChunk(body, "ANIM", data);
    for (const WebpFrameSpec& f : frames) {
        data.clear();
        put24(data, uint32_t(f.left / 2)), put24(data, uint32_t(f.top / 2));
        put24(data, uint32_t(f.width - 1)), put24(data, uint32_t(f.height - 1));
        put24(data, uint32_t(f.durationMs));
        data.push_back(0x02);  // no blending, no disposal
        const std::vector<uint8_t> pixels = solidVp8lChunk(f.width, f.height, f.rgba);
        data.insert(data.end(), pixels.begin(), pixels.end());
        putChunk(body, "ANMF", data);
    }
    std::vector<uint8_t> file = {'R', 'I', 'F', 'F'};
    put32(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// A file of a few hundred bytes whose canvas claims 16384 x 16384 pixels (1 GiB of RGBA) while
// its two frames draw one pixel each: what a reader must refuse before making the canvas.
inline std::vector<uint8_t> hugeCanvasTinyFramesWebp() {
    return animatedWebp(16384, 16384, {{0, 0, 1, 1, 100, 0xff0000ff}, {2, 2, 1, 1, 100, 0x00ff00ff}});
}

}  // namespace loom::test
