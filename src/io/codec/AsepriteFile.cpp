#include "io/codec/AsepriteFile.h"

#include <string>

#include "image/ImageLimits.h"
#include "io/codec/ByteReader.h"
#include "io/codec/EndianBytes.h"
#include "io/codec/ImageSourceDecoded.h"

namespace loom {

namespace {

constexpr size_t HEADER_BYTES = 128;
constexpr size_t FRAME_HEADER_BYTES = 16;
constexpr size_t CHUNK_HEADER_BYTES = 6;
constexpr uint16_t FILE_MAGIC = 0xA5E0;
constexpr uint16_t FRAME_MAGIC = 0xF1FA;
// Palettes larger than this are no editor's.
constexpr uint32_t MAX_PALETTE_SIZE = 65536;
constexpr size_t PALETTE_ENTRY_BYTES = 6;
// zlib's deflate makes at most 1032 bytes of one compressed byte.
constexpr int64_t MOST_BYTES_PER_COMPRESSED_BYTE = 1032;
constexpr int64_t TILE_ID_BYTES = 4;

enum ChunkType : uint16_t {
    OLD_PALETTE_256 = 0x0004,
    OLD_PALETTE_64 = 0x0011,
    LAYER = 0x2004,
    CEL = 0x2005,
    TAGS = 0x2018,
    PALETTE = 0x2019,
    TILESET = 0x2023,
};

std::string readString(ByteReader& in) {
    const uint16_t length = in.u16();
    const uint8_t* text = in.take(length);
    return std::string(reinterpret_cast<const char*>(text), length);
}

int32_t s16(ByteReader& in) { return int16_t(in.u16()); }

AsepriteLayer readLayer(ByteReader& in, uint32_t headerFlags) {
    AsepriteLayer layer;
    layer.flags = in.u16();
    layer.type = in.u16();
    layer.childLevel = in.u16();
    in.skip(4);  // default size, unused
    const uint16_t mode = in.u16();
    layer.opacity = in.u8();
    in.skip(3);
    layer.name = readString(in);
    if (layer.type > AsepriteLayer::TILEMAP)
        in.fail("layer \"" + layer.name + "\" has unknown type " + std::to_string(layer.type));
    if (mode >= BLEND_MODE_COUNT)
        in.fail("layer \"" + layer.name + "\" has unknown blend mode " + std::to_string(mode));
    layer.blendMode = BlendMode(mode);
    if (layer.type == AsepriteLayer::TILEMAP) layer.tileset = in.u32();
    if (headerFlags & AsepriteFile::LAYER_UUIDS) in.skip(16);
    return layer;
}

AsepriteCel readCel(ByteReader& in, int32_t bytesPerPixel) {
    AsepriteCel cel;
    cel.layer = in.u16();
    cel.x = s16(in);
    cel.y = s16(in);
    cel.opacity = in.u8();
    cel.type = in.u16();
    in.skip(2 + 5);  // z-index, reserved
    if (cel.type == AsepriteCel::LINKED) {
        cel.linkedFrame = in.u16();
        return cel;
    }
    if (cel.type > AsepriteCel::COMPRESSED_TILEMAP)
        in.fail("unknown cel type " + std::to_string(cel.type));
    cel.width = in.u16();
    cel.height = in.u16();
    if (cel.type == AsepriteCel::COMPRESSED_TILEMAP) {
        if (in.u16() != 32) in.fail("tiles of other than 32 bits");
        cel.tileIdMask = in.u32();
        cel.flipXMask = in.u32();
        cel.flipYMask = in.u32();
        cel.flipDiagonalMask = in.u32();
        in.skip(10);
    }
    cel.size = in.remaining();
    cel.data = in.take(cel.size);
    // Refused here, before anything is made for it, when the size is past the limits or past
    // what the data could hold.
    const bool tilemap = cel.type == AsepriteCel::COMPRESSED_TILEMAP;
    requireAsepriteSize(tilemap ? "tilemap" : "cel", cel.width, cel.height);
    const int64_t bytes = int64_t(cel.width) * cel.height * (tilemap ? TILE_ID_BYTES : bytesPerPixel);
    if (cel.type == AsepriteCel::RAW) {
        if (int64_t(cel.size) < bytes) in.failTruncated();
    } else {
        requireFillable(uint64_t(bytes), int64_t(cel.size), MOST_BYTES_PER_COMPRESSED_BYTE, "Aseprite");
    }
    return cel;
}

// The old palette chunks: packets of colours, each after a number of entries left as they are.
void readOldPalette(ByteReader& in, Palette& palette, bool sixBits) {
    const uint16_t packets = in.u16();
    size_t index = 0;
    for (uint16_t p = 0; p < packets; ++p) {
        index += in.u8();
        const uint8_t stated = in.u8();
        const size_t count = stated == 0 ? 256 : stated;
        if (index + count > 256) in.fail("palette packet beyond 256 colours");
        if (palette.size() < index + count) palette.resize(index + count, {0, 0, 0, 255});
        for (size_t i = 0; i < count; ++i, ++index) {
            const uint8_t* rgb = in.take(3);
            for (int c = 0; c < 3; ++c)
                palette[index][size_t(c)] = sixBits ? uint8_t((rgb[c] * 255 + 31) / 63) : rgb[c];
        }
    }
}

void readPalette(ByteReader& in, Palette& palette) {
    const uint32_t size = in.u32(), first = in.u32(), last = in.u32();
    in.skip(8);
    if (size > MAX_PALETTE_SIZE || first > last || last >= size) in.fail("bad palette");
    if ((size_t(last) - first + 1) * PALETTE_ENTRY_BYTES > in.remaining()) in.failTruncated();
    if (palette.size() < size) palette.resize(size, {0, 0, 0, 255});
    for (uint32_t i = first; i <= last; ++i) {
        const uint16_t entryFlags = in.u16();
        const uint8_t* rgba = in.take(4);
        palette[i] = {rgba[0], rgba[1], rgba[2], rgba[3]};
        if (entryFlags & 1) readString(in);  // the colour's name
    }
}

void readTags(ByteReader& in, std::vector<AsepriteTag>& tags) {
    const uint16_t count = in.u16();
    in.skip(8);
    for (uint16_t t = 0; t < count; ++t) {
        AsepriteTag tag;
        tag.from = in.u16();
        tag.to = in.u16();
        tag.direction = in.u8();
        in.skip(2 + 6 + 3 + 1);  // repeat count, reserved, colour, extra byte
        tag.name = readString(in);
        tags.push_back(std::move(tag));
    }
}

void readTileset(ByteReader& in, int32_t bytesPerPixel, std::vector<AsepriteTileset>& tilesets) {
    AsepriteTileset tileset;
    tileset.id = in.u32();
    const uint32_t flags = in.u32();
    tileset.count = in.u32();
    tileset.tileWidth = in.u16();
    tileset.tileHeight = in.u16();
    in.skip(2 + 14);            // base index, reserved
    readString(in);             // name
    if (flags & 1) in.skip(8);  // an external file's tileset: its tiles are not here
    if (flags & 2) {
        tileset.size = in.u32();
        tileset.data = in.take(tileset.size);
        requireAsepriteSize("tileset", tileset.tileWidth, tileset.tileHeight, tileset.count);
        requireFillable(uint64_t(tileset.tileWidth) * uint64_t(tileset.tileHeight) * tileset.count *
                            uint64_t(bytesPerPixel),
                        int64_t(tileset.size), MOST_BYTES_PER_COMPRESSED_BYTE, "Aseprite");
    }
    tilesets.push_back(tileset);
}

}  // namespace

void requireAsepriteSize(const char* what, int64_t width, int64_t height, int64_t count) {
    const std::string size = (count == 1 ? "" : std::to_string(count) + " tiles of ") +
                             std::to_string(width) + " x " + std::to_string(height) + " pixels";
    const auto fail = [&](const std::string& limit) {
        throw ImageIoFailedLoadExc(std::string("Aseprite: ") + what + " too large: " + size +
                                   ", past the limit of " + limit);
    };
    if (width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE)
        fail(std::to_string(MAX_IMAGE_SIDE) + " pixels a side");
    // The sides are within 2^15 and the count within 2^32: the product cannot overflow.
    if (width * height * count > MAX_IMAGE_PIXELS)
        fail(std::to_string(MAX_IMAGE_PIXELS) + " pixels in all");
}

bool looksLikeAseprite(const uint8_t* data, size_t size) {
    return size >= HEADER_BYTES && littleEndian16(data + 4) == FILE_MAGIC;
}

AsepriteFile parseAseprite(const uint8_t* data, size_t size) {
    ByteReader in(data, size, "Aseprite");
    AsepriteFile file;
    in.skip(6);  // file size, magic
    const uint16_t frameCount = in.u16();
    file.width = in.u16();
    file.height = in.u16();
    const uint16_t depth = in.u16();
    if (depth != 8 && depth != 16 && depth != 32)
        in.fail("unknown colour depth " + std::to_string(depth));
    file.bytesPerPixel = depth / 8;
    file.flags = in.u32();
    const uint16_t speed = in.u16();
    in.skip(8);
    file.transparentIndex = in.u8();
    in.skip(3 + 2);  // reserved, colour count
    file.pixelWidth = in.u8();
    file.pixelHeight = in.u8();
    in.seek(HEADER_BYTES);

    Palette oldPalette;  // used only when the file has no palette chunk of the newer kind
    bool newPalette = false;
    for (uint16_t f = 0; f < frameCount; ++f) {
        const size_t frameStart = size - in.remaining();
        const uint32_t frameBytes = in.u32();
        if (in.u16() != FRAME_MAGIC) in.fail("bad frame " + std::to_string(f + 1));
        const uint16_t oldChunks = in.u16();
        AsepriteFrame frame;
        frame.durationMs = in.u16();
        if (frame.durationMs == 0) frame.durationMs = speed;
        in.skip(2);
        const uint32_t newChunks = in.u32();
        if (frameBytes < FRAME_HEADER_BYTES || frameBytes > in.remaining() + FRAME_HEADER_BYTES)
            in.failTruncated();
        ByteReader chunks(data + frameStart + FRAME_HEADER_BYTES, frameBytes - FRAME_HEADER_BYTES,
                          "Aseprite");
        const uint32_t chunkCount = newChunks != 0 ? newChunks : oldChunks;
        for (uint32_t c = 0; c < chunkCount && !chunks.atEnd(); ++c) {
            const uint32_t chunkBytes = chunks.u32();
            const uint16_t type = chunks.u16();
            if (chunkBytes < CHUNK_HEADER_BYTES) chunks.fail("bad chunk size");
            ByteReader chunk(chunks.take(chunkBytes - CHUNK_HEADER_BYTES),
                             chunkBytes - CHUNK_HEADER_BYTES, "Aseprite");
            switch (type) {
                case LAYER: file.layers.push_back(readLayer(chunk, file.flags)); break;
                case CEL: frame.cels.push_back(readCel(chunk, file.bytesPerPixel)); break;
                case TAGS: readTags(chunk, file.tags); break;
                case TILESET: readTileset(chunk, file.bytesPerPixel, file.tilesets); break;
                case PALETTE:
                    readPalette(chunk, file.palette);
                    newPalette = true;
                    break;
                case OLD_PALETTE_256:
                case OLD_PALETTE_64: readOldPalette(chunk, oldPalette, type == OLD_PALETTE_64); break;
                default: break;  // user data, slices, colour profiles and the like draw nothing
            }
        }
        in.skip(frameBytes - FRAME_HEADER_BYTES);
        file.frames.push_back(std::move(frame));
    }
    if (!newPalette) file.palette = std::move(oldPalette);
    return file;
}

}  // namespace loom
