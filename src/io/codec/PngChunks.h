// PngChunks: the PNG container, a signature followed by chunks of length, type, data and CRC-32.
#pragma once

#include <cstddef>
#include <cstdint>

#include "io/Stream.h"

namespace loom {

// PNG's numbers are big-endian.
inline void putBigEndian32(uint8_t* out, uint32_t v) {
    out[0] = uint8_t(v >> 24), out[1] = uint8_t(v >> 16), out[2] = uint8_t(v >> 8), out[3] = uint8_t(v);
}

void writePngSignature(OStream& out);
// The CRC-32 a chunk ends with, over its type and data.
uint32_t pngChunkCrc(const char* type, const uint8_t* data, size_t size);
// type: four ASCII letters such as "IHDR".
void writePngChunk(OStream& out, const char* type, const uint8_t* data, size_t size);

}  // namespace loom
