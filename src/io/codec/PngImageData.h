// PngImageData: a PNG picture's header chunks and its rows, filtered and compressed, shared by the
// still writer and the animation writer (whose later frames carry their data in other chunks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "io/Stream.h"
#include "io/codec/PngRowFormat.h"

namespace loom {

// Receives the compressed stream of a picture's rows, a chunk's worth at a time.
using PngDataSink = std::function<void(const uint8_t* data, size_t size)>;

// IHDR for a picture of this size and form, with PLTE and tRNS when it is indexed.
void writePngHeader(OStream& out, int32_t width, int32_t height, const PngRowFormat& format);
// The rows, each read through rowAt, filtered and compressed for deflate's best on pixel art.
void writePngRows(PngRowFormat& format, int32_t height, const PngRowFormat::RowAccess& rowAt,
                  const PngDataSink& writeChunk);

}  // namespace loom
