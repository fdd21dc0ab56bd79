#include "io/Stream.h"

#include <algorithm>
#include <limits>

namespace loom {

namespace {

constexpr int32_t READ_CHUNK = 4096;

// Growth for a stream of unknown size: at least one more chunk, else by half, so the number of
// reallocations stays logarithmic.
int32_t grownSize(int32_t allocated, int32_t used) {
    const int64_t wanted = std::max<int64_t>(int64_t(used) + READ_CHUNK, int64_t(allocated) * 3 / 2);
    if (wanted > std::numeric_limits<int32_t>::max()) throw StreamOutOfMemoryExc();
    return static_cast<int32_t>(wanted);
}

}  // namespace

Buffer readStreamToBuffer(const IStreamRef& stream) {
    if (!stream) throw StreamExc("no stream to read");
    const int64_t size = stream->size();
    if (size > 0) {
        const int64_t remaining = size - std::max<int64_t>(stream->tell(), 0);
        if (remaining > std::numeric_limits<int32_t>::max()) throw StreamOutOfMemoryExc();
        Buffer buffer(static_cast<int32_t>(std::max<int64_t>(remaining, 0)));
        stream->readData(buffer.getData(), size_t(buffer.getDataSize()));
        return buffer;
    }
    Buffer buffer(READ_CHUNK);
    int32_t used = 0;
    buffer.setDataSize(0);
    while (!stream->isEOF()) {
        if (buffer.getAllocatedSize() < int64_t(used) + READ_CHUNK)
            buffer.resize(grownSize(buffer.getAllocatedSize(), used));
        const size_t got =
            stream->readDataAvailable(static_cast<uint8_t*>(buffer.getData()) + used, READ_CHUNK);
        // No progress without reaching the end means a read error, not an empty stream.
        if (got == 0 && !stream->isEOF()) throw StreamExc("read error");
        used += static_cast<int32_t>(got);
        buffer.setDataSize(used);
    }
    return buffer;
}

}  // namespace loom
