// Small .aseprite files written byte by byte from the format's public description, for tests:
// layers and the palette and tags go into the first frame, cels into their frames.
#pragma once

#include <zlib.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace loom::test {

class AsepriteBuilder {
public:
    enum LayerFlags : uint16_t { VISIBLE = 1, BACKGROUND = 8, REFERENCE = 64 };
    enum LayerType : uint16_t { IMAGE = 0, GROUP = 1 };

    // depth: 32 RGBA, 16 grey, 8 indexed; headerFlags 1 makes layer opacity count.
    AsepriteBuilder(uint16_t width, uint16_t height, uint16_t depth, uint32_t headerFlags = 1,
                    uint8_t transparentIndex = 0)
        : width_(width),
          height_(height),
          depth_(depth),
          flags_(headerFlags),
          transparent_(transparentIndex) {}

    AsepriteBuilder& frame(uint16_t durationMs) {
        frames_.push_back({durationMs, {}});
        return *this;
    }
    AsepriteBuilder& layer(uint16_t flags, uint16_t type = IMAGE, uint16_t childLevel = 0,
                           uint16_t blendMode = 0, uint8_t opacity = 255) {
        std::vector<uint8_t> d;
        put16(d, flags), put16(d, type), put16(d, childLevel), put16(d, 0), put16(d, 0);
        put16(d, blendMode), d.push_back(opacity), d.insert(d.end(), 3, 0);
        putString(d, "layer");
        return chunk(0, 0x2004, d);
    }
    // A cel of w x h pixels (bytes in the file's colour mode), raw or zlib-compressed.
    AsepriteBuilder& cel(size_t frame, uint16_t layer, int16_t x, int16_t y, uint16_t w, uint16_t h,
                         const std::vector<uint8_t>& pixels, bool compressed = false,
                         uint8_t opacity = 255) {
        std::vector<uint8_t> d = celHeader(layer, x, y, opacity, compressed ? 2 : 0);
        put16(d, w), put16(d, h);
        if (compressed) {
            uLongf size = compressBound(uLong(pixels.size()));
            std::vector<uint8_t> packed(size);
            compress(packed.data(), &size, pixels.data(), uLong(pixels.size()));
            d.insert(d.end(), packed.begin(), packed.begin() + long(size));
        } else {
            d.insert(d.end(), pixels.begin(), pixels.end());
        }
        return chunk(frame, 0x2005, d);
    }
    AsepriteBuilder& linkedCel(size_t frame, uint16_t layer, uint16_t linkedFrame) {
        std::vector<uint8_t> d = celHeader(layer, 0, 0, 255, 1);
        put16(d, linkedFrame);
        return chunk(frame, 0x2005, d);
    }
    AsepriteBuilder& palette(const std::vector<std::array<uint8_t, 4>>& colours) {
        std::vector<uint8_t> d;
        put32(d, uint32_t(colours.size())), put32(d, 0), put32(d, uint32_t(colours.size() - 1));
        d.insert(d.end(), 8, 0);
        for (const auto& c : colours) put16(d, 0), d.insert(d.end(), c.begin(), c.end());
        return chunk(0, 0x2019, d);
    }
    struct Tag {
        uint16_t from, to;
        uint8_t direction;
        std::string name;
    };
    AsepriteBuilder& tags(const std::vector<Tag>& list) {
        std::vector<uint8_t> d;
        put16(d, uint16_t(list.size())), d.insert(d.end(), 8, 0);
        for (const Tag& t : list) {
            put16(d, t.from), put16(d, t.to), d.push_back(t.direction);
            d.insert(d.end(), 2 + 6 + 4, 0);
            putString(d, t.name);
        }
        return chunk(0, 0x2018, d);
    }
    // Any chunk, for broken files.
    AsepriteBuilder& chunk(size_t frame, uint16_t type, const std::vector<uint8_t>& data) {
        if (frames_.empty()) this->frame(100);
        std::vector<uint8_t>& out = frames_[frame].chunks;
        put32(out, uint32_t(data.size() + 6)), put16(out, type);
        out.insert(out.end(), data.begin(), data.end());
        ++frames_[frame].count;
        return *this;
    }

    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> out;
        put32(out, 0), put16(out, 0xA5E0), put16(out, uint16_t(frames_.size()));
        put16(out, width_), put16(out, height_), put16(out, depth_), put32(out, flags_);
        put16(out, 100), put32(out, 0), put32(out, 0), out.push_back(transparent_);
        out.resize(128, 0);
        for (const Frame& f : frames_) {
            put32(out, uint32_t(16 + f.chunks.size())), put16(out, 0xF1FA), put16(out, f.count);
            put16(out, f.durationMs), put16(out, 0), put32(out, 0);
            out.insert(out.end(), f.chunks.begin(), f.chunks.end());
        }
        const uint32_t size = uint32_t(out.size());
        for (int i = 0; i < 4; ++i) out[size_t(i)] = uint8_t(size >> (8 * i));
        return out;
    }

private:
    struct Frame {
        uint16_t durationMs;
        std::vector<uint8_t> chunks;
        uint16_t count = 0;
    };
    static void put16(std::vector<uint8_t>& d, uint16_t v) {
        d.push_back(uint8_t(v)), d.push_back(uint8_t(v >> 8));
    }
    static void put32(std::vector<uint8_t>& d, uint32_t v) {
        put16(d, uint16_t(v)), put16(d, uint16_t(v >> 16));
    }
    static void putString(std::vector<uint8_t>& d, const std::string& s) {
        put16(d, uint16_t(s.size()));
        d.insert(d.end(), s.begin(), s.end());
    }
    static std::vector<uint8_t> celHeader(uint16_t layer, int16_t x, int16_t y, uint8_t opacity,
                                          uint16_t type) {
        std::vector<uint8_t> d;
        put16(d, layer), put16(d, uint16_t(x)), put16(d, uint16_t(y)), d.push_back(opacity);
        put16(d, type), put16(d, 0), d.insert(d.end(), 5, 0);
        return d;
    }

    uint16_t width_, height_, depth_;
    uint32_t flags_;
    uint8_t transparent_;
    std::vector<Frame> frames_;
};

}  // namespace loom::test
