#include "io/codec/PngChunks.h"

#include <zlib.h>

namespace loom {

void writePngSignature(OStream& out) {
    static const uint8_t signature[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};
    out.writeData(signature, sizeof(signature));
}

uint32_t pngChunkCrc(const char* type, const uint8_t* data, size_t size) {
    // zlib takes a null buffer as a request for the initial value: no data, no call.
    uLong sum = crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(type), 4);
    if (size > 0) sum = crc32_z(sum, data, size);
    return uint32_t(sum);
}

void writePngChunk(OStream& out, const char* type, const uint8_t* data, size_t size) {
    if (size > 0x7FFFFFFFu) throw StreamExc("PNG chunk too large");
    uint8_t head[8];
    putBigEndian32(head, uint32_t(size));
    for (int i = 0; i < 4; ++i) head[4 + i] = uint8_t(type[i]);
    uint8_t crc[4];
    putBigEndian32(crc, pngChunkCrc(type, data, size));
    out.writeData(head, sizeof(head));
    if (size > 0) out.writeData(data, size);
    out.writeData(crc, sizeof(crc));
}

}  // namespace loom
