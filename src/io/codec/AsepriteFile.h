// AsepriteFile: the parts of a pixel-art editor's .aseprite (.ase) file that make its pictures,
// read into plain structures: the sprite's header, layers, frames with their cels, palette, tags
// and tilesets. Pixel data stays where it lies in the file's bytes (which must outlive the
// structures) and is decoded when a frame is composed. Every count and offset is checked against
// the bytes there are, so broken files raise ImageIoFailedLoadExc and nothing is read past them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/Palette.h"
#include "io/codec/BlendModes.h"

namespace loom {

struct AsepriteLayer {
    enum Flags : uint16_t { VISIBLE = 1, BACKGROUND = 8, REFERENCE = 64 };
    enum Type : uint16_t { IMAGE = 0, GROUP = 1, TILEMAP = 2 };
    uint16_t flags = 0;
    uint16_t type = IMAGE;
    uint16_t childLevel = 0;
    BlendMode blendMode = BlendMode::Normal;
    uint8_t opacity = 255;
    uint32_t tileset = 0;
    std::string name;
};

// Where a cel's pixels (or tiles) lie in the file.
struct AsepriteCel {
    enum Type : uint16_t { RAW = 0, LINKED = 1, COMPRESSED = 2, COMPRESSED_TILEMAP = 3 };
    uint16_t layer = 0;
    int32_t x = 0, y = 0;
    uint8_t opacity = 255;
    uint16_t type = RAW;
    uint16_t linkedFrame = 0;
    int32_t width = 0, height = 0;  // in pixels, or in tiles for a tilemap
    uint32_t tileIdMask = 0, flipXMask = 0, flipYMask = 0, flipDiagonalMask = 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
};

struct AsepriteFrame {
    int32_t durationMs = 0;
    std::vector<AsepriteCel> cels;
};

struct AsepriteTag {
    enum Direction : uint8_t { FORWARD = 0, REVERSE = 1, PING_PONG = 2, PING_PONG_REVERSE = 3 };
    uint16_t from = 0, to = 0;
    uint8_t direction = FORWARD;
    std::string name;
};

// Tiles stacked in one column of pixels, compressed: tileWidth x (tileHeight x count). The size
// of one tile and the pixels of all are within the image limits; one side need not be.
struct AsepriteTileset {
    uint32_t id = 0;
    uint32_t count = 0;
    int32_t tileWidth = 0, tileHeight = 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
};

struct AsepriteFile {
    enum HeaderFlags : uint32_t { LAYER_OPACITY_VALID = 1, GROUPS_COMPOSED_APART = 2, LAYER_UUIDS = 4 };
    int32_t width = 0, height = 0;
    int32_t bytesPerPixel = 4;  // 4 RGBA, 2 grey and alpha, 1 index
    uint32_t flags = 0;
    uint8_t transparentIndex = 0;
    uint8_t pixelWidth = 0, pixelHeight = 0;
    Palette palette;
    std::vector<AsepriteLayer> layers;
    std::vector<AsepriteFrame> frames;
    std::vector<AsepriteTag> tags;
    std::vector<AsepriteTileset> tilesets;
};

// True when data begins as an .aseprite file does (its header's magic number).
bool looksLikeAseprite(const uint8_t* data, size_t size);

// Cels too large or too small for their data, and tilesets too large, are refused here.
AsepriteFile parseAseprite(const uint8_t* data, size_t size);

// ImageIoFailedLoadExc "Aseprite: <what> too large: ..." naming the size and the limit it is past
// unless count pictures of width x height (non-negative) fit the image limits, each and in all.
void requireAsepriteSize(const char* what, int64_t width, int64_t height, int64_t count = 1);

}  // namespace loom
