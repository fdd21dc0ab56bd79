// Small .aseprite files written byte by byte from the format's public description, for tests:
// layers and the palette and tags go into the first frame, cels into their frames. Below the
// builder, hostile files that declare far more than they hold, for the reader's tests and the
// command line's.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace loom::test {

class AsepriteBuilder {
public:
    enum LayerFlags : uint16_t { VISIBLE = 1, BACKGROUND = 8, REFERENCE = 64 };
    enum LayerType : uint16_t { IMAGE = 0, GROUP = 1, TILEMAP = 2 };
    enum HeaderFlags : uint32_t { OPACITY_VALID = 1, GROUPS_APART = 2 };
    // The bits of a tile's 32-bit value, as the editor writes them.
    enum TileBits : uint32_t {
        TILE_ID = 0x1fffffff,
        FLIP_X = 1u << 29,
        FLIP_Y = 1u << 30,
        TURN = 1u << 31
    };

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
                           uint16_t blendMode = 0, uint8_t opacity = 255, uint32_t tileset = 0) {
        std::vector<uint8_t> d;
        put16(d, flags), put16(d, type), put16(d, childLevel), put16(d, 0), put16(d, 0);
        put16(d, blendMode), d.push_back(opacity), d.insert(d.end(), 3, 0);
        putString(d, "layer");
        if (type == TILEMAP) put32(d, tileset);
        return chunk(0, 0x2004, d);
    }
    // A cel of w x h pixels (bytes in the file's colour mode), raw or zlib-compressed.
    AsepriteBuilder& cel(size_t frame, uint16_t layer, int16_t x, int16_t y, uint16_t w, uint16_t h,
                         const std::vector<uint8_t>& pixels, bool compressed = false,
                         uint8_t opacity = 255) {
        std::vector<uint8_t> d = celHeader(layer, x, y, opacity, compressed ? 2 : 0);
        put16(d, w), put16(d, h);
        const std::vector<uint8_t> data = compressed ? zlib(pixels) : pixels;
        d.insert(d.end(), data.begin(), data.end());
        return chunk(frame, 0x2005, d);
    }
    // A compressed cel of w x h pixels whose data is given already compressed.
    AsepriteBuilder& packedCel(size_t frame, uint16_t layer, int16_t x, int16_t y, uint16_t w,
                               uint16_t h, const std::vector<uint8_t>& zlibData) {
        std::vector<uint8_t> d = celHeader(layer, x, y, 255, 2);
        put16(d, w), put16(d, h);
        d.insert(d.end(), zlibData.begin(), zlibData.end());
        return chunk(frame, 0x2005, d);
    }
    // A cel of w x h tiles, their 32-bit values compressed (zlib) as given.
    AsepriteBuilder& tilemapCel(size_t frame, uint16_t layer, int16_t x, int16_t y, uint16_t w,
                                uint16_t h, const std::vector<uint8_t>& zlibTiles) {
        std::vector<uint8_t> d = celHeader(layer, x, y, 255, 3);
        put16(d, w), put16(d, h), put16(d, 32);
        put32(d, TILE_ID), put32(d, FLIP_X), put32(d, FLIP_Y), put32(d, TURN);
        d.insert(d.end(), 10, 0);
        d.insert(d.end(), zlibTiles.begin(), zlibTiles.end());
        return chunk(frame, 0x2005, d);
    }
    // count tiles of w x h in a column, their pixels compressed (zlib) as given.
    AsepriteBuilder& tileset(uint32_t id, uint32_t count, uint16_t w, uint16_t h,
                             const std::vector<uint8_t>& zlibPixels) {
        std::vector<uint8_t> d;
        put32(d, id), put32(d, 2), put32(d, count), put16(d, w), put16(d, h);
        d.insert(d.end(), 2 + 14, 0);
        putString(d, "tiles");
        put32(d, uint32_t(zlibPixels.size()));
        d.insert(d.end(), zlibPixels.begin(), zlibPixels.end());
        return chunk(0, 0x2023, d);
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

    static std::vector<uint8_t> zlib(const std::vector<uint8_t>& data) {
        uLongf size = compressBound(uLong(data.size()));
        std::vector<uint8_t> packed(size);
        compress(packed.data(), &size, data.data(), uLong(data.size()));
        packed.resize(size);
        return packed;
    }
    // zlib data of count zero bytes, made at once however many: a piece of zeros compressed after
    // a full flush comes out the same every time, so one is compressed and repeated.
    static std::vector<uint8_t> zlibZeros(uint64_t count) {
        constexpr uint64_t PIECE = 1 << 20;
        const std::vector<uint8_t> zeros(PIECE, 0);
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        const auto deflated = [&](uint64_t size, int flush) {
            std::vector<uint8_t> out(PIECE);
            z.next_in = const_cast<Bytef*>(zeros.data()), z.avail_in = uInt(size);
            z.next_out = out.data(), z.avail_out = uInt(out.size());
            deflate(&z, flush);
            out.resize(out.size() - z.avail_out);
            return out;
        };
        const std::vector<uint8_t> piece =
            count >= PIECE ? deflated(PIECE, Z_FULL_FLUSH) : std::vector<uint8_t>();
        const std::vector<uint8_t> tail = deflated(count % PIECE, Z_FINISH);
        deflateEnd(&z);
        std::vector<uint8_t> out = {0x78, 0xda};
        for (uint64_t i = 0; i < count / PIECE; ++i) out.insert(out.end(), piece.begin(), piece.end());
        out.insert(out.end(), tail.begin(), tail.end());
        // Adler-32 of zeros: the first sum stays 1, the second adds it once a byte.
        const uint32_t adler = uint32_t(count % 65521) << 16 | 1;
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(adler >> shift));
        return out;
    }

    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> out;
        put32(out, 0), put16(out, 0xA5E0), put16(out, uint16_t(frames_.size()));
        put16(out, width_), put16(out, height_), put16(out, depth_), put32(out, flags_);
        put16(out, 100), put32(out, 0), put32(out, 0), out.push_back(transparent_);
        out.resize(128, 0);
        for (const Frame& f : frames_) {
            put32(out, uint32_t(16 + f.chunks.size())), put16(out, 0xF1FA);
            put16(out, uint16_t(std::min<uint32_t>(f.count, 0xFFFF)));
            put16(out, f.durationMs), put16(out, 0), put32(out, f.count);
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
        uint32_t count = 0;
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

// depth layer groups, each inside the one before, over an opaque 256 x 256 cel of colour
// (RGBA) at the bottom; composedApart sets the header's flag that composes each group on its own.
inline std::vector<uint8_t> deeplyNestedGroups(int depth, bool composedApart,
                                               std::array<uint8_t, 4> colour = {10, 20, 30, 255}) {
    using B = AsepriteBuilder;
    B file(256, 256, 32, B::OPACITY_VALID | (composedApart ? uint32_t(B::GROUPS_APART) : 0u));
    file.frame(100);
    for (int level = 0; level < depth; ++level) file.layer(B::VISIBLE, B::GROUP, uint16_t(level));
    file.layer(B::VISIBLE, B::IMAGE, uint16_t(depth));
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 256 * 256; ++i) pixels.insert(pixels.end(), colour.begin(), colour.end());
    return file.cel(0, uint16_t(depth), 0, 0, 256, 256, pixels, true).bytes();
}

// depth layer groups composed apart, each inside the one before and each over a 256 x 256 cel of
// its own, so that every group needs a canvas while the ones inside it are drawn.
inline std::vector<uint8_t> stackedGroupsApart(int depth) {
    using B = AsepriteBuilder;
    B file(256, 256, 32, B::OPACITY_VALID | B::GROUPS_APART);
    file.frame(100);
    const std::vector<uint8_t> cel = B::zlibZeros(256 * 256 * 4);
    for (int level = 0; level < depth; ++level) {
        const uint16_t first = uint16_t(2 * level);
        file.layer(B::VISIBLE, B::IMAGE, uint16_t(level)).layer(B::VISIBLE, B::GROUP, uint16_t(level));
        file.packedCel(0, first, 0, 0, 256, 256, cel);
    }
    return file.layer(B::VISIBLE, B::IMAGE, uint16_t(depth))
        .packedCel(0, uint16_t(2 * depth), 0, 0, 256, 256, cel)
        .bytes();
}

// A 16 x 16 sprite with one cel of 16384 x 16384 transparent pixels: 1 GiB in about 1 MB.
inline std::vector<uint8_t> celOfOneGiB() {
    using B = AsepriteBuilder;
    return B(16, 16, 32)
        .frame(100)
        .layer(B::VISIBLE)
        .packedCel(0, 0, 0, 0, 16384, 16384, B::zlibZeros(uint64_t(16384) * 16384 * 4))
        .bytes();
}

// A 16 x 16 sprite with one tilemap cel of 16384 x 16384 empty tiles of 1 x 1: 1 GiB of tile
// values in about 1 MB, a picture of 2^28 pixels of which 256 are shown.
inline std::vector<uint8_t> tilemapOfOneGiB() {
    using B = AsepriteBuilder;
    return B(16, 16, 32)
        .frame(100)
        .tileset(1, 2, 1, 1, B::zlib(std::vector<uint8_t>(8, 255)))
        .layer(B::VISIBLE, B::TILEMAP, 0, 0, 255, 1)
        .tilemapCel(0, 0, 0, 0, 16384, 16384, B::zlibZeros(uint64_t(16384) * 16384 * 4))
        .bytes();
}

// A side x side sprite showing tile `shown` of a tileset of count tiles of side x side (RGBA), the
// tileset's pixels given compressed.
inline std::vector<uint8_t> tilesetSprite(uint32_t count, uint16_t side, uint32_t shown,
                                          const std::vector<uint8_t>& zlibPixels) {
    using B = AsepriteBuilder;
    const std::vector<uint8_t> tile = {uint8_t(shown), uint8_t(shown >> 8), uint8_t(shown >> 16),
                                       uint8_t(shown >> 24)};
    return B(side, side, 32)
        .frame(100)
        .tileset(1, count, side, side, zlibPixels)
        .layer(B::VISIBLE, B::TILEMAP, 0, 0, 255, 1)
        .tilemapCel(0, 0, 0, 0, 1, 1, B::zlib(tile))
        .bytes();
}

}  // namespace loom::test
