// ZlibPieces: one zlib stream compressed a piece at a time, two pieces at once on the shared pool,
// so that a large image never needs all its filtered rows in memory and compressing takes half the
// time on two cores. Each piece is raw deflate primed with the 32 KiB before it (so no match is
// lost at a cut) and ended by a sync flush, which leaves it on a byte boundary for the next; the
// checksum spans all pieces.
#pragma once

#include <zlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/ThreadPool.h"

namespace loom {

// How hard deflate searches: zlib's level (1 to 9) and, where chain is not 0, its search limits
// in place of the level's own (deflateTune's good length, lazy match, nice length, chain).
struct DeflateEffort {
    int level;
    int goodLength = 0, lazyMatch = 0, niceLength = 0, chain = 0;
};

// The size of data as one raw deflate stream at this effort: for trying settings on a sample.
size_t deflatedSize(const std::vector<uint8_t>& data, DeflateEffort effort);

class ZlibPieces {
public:
    // Receives the stream's bytes, in order, on the thread that adds pieces.
    using Sink = std::function<void(const uint8_t* data, size_t size)>;

    ZlibPieces(DeflateEffort effort, Sink sink);

    // Takes the next piece of data (piece is left empty, its memory kept for reuse). After the
    // last piece every byte of the stream has reached the sink.
    void add(std::vector<uint8_t>& piece, bool last);

private:
    struct EndDeflate {
        void operator()(z_stream* stream) const;
    };
    struct Slot {
        std::unique_ptr<z_stream, EndDeflate> stream;
        std::vector<uint8_t> data;
        std::vector<uint8_t> history;    // the end of the piece before
        std::unique_ptr<uint8_t[]> out;  // left uninitialised: only what is written is touched
        size_t outCapacity = 0;
        size_t outSize = 0;
        bool last = false;
        bool compressing = false;  // out is being made, or made and not drained
        TaskGroup job;             // last, so that it is waited for before the buffers go
    };

    void compress(Slot& slot) const;
    // Waits for the slot's piece and hands its bytes to the sink.
    void drain(Slot& slot);

    DeflateEffort effort_;
    Sink sink_;
    std::array<Slot, 2> slots_;
    size_t added_ = 0;
    uLong adler_;
};

}  // namespace loom
