// ZlibPieces: one zlib stream compressed a piece at a time with libdeflate, which compresses whole
// buffers only, so that a large image never needs all its filtered rows in memory at once, and two
// pieces compress at once on two threads. Every piece but the last is cut after its final block,
// which is made non-final and followed by an empty stored block that brings the next piece to a
// byte boundary; the checksum spans all pieces. A piece starts without the previous one's
// history, so pieces should be large.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <vector>

struct libdeflate_compressor;

namespace loom {

class ZlibPieces {
public:
    // Receives the stream's bytes, in order, from the thread that adds pieces.
    using Sink = std::function<void(const uint8_t* data, size_t size)>;

    // level: libdeflate's, 1 to 12.
    ZlibPieces(int level, Sink sink);

    // Takes the next piece of data (piece is left empty, its memory kept for reuse). After the
    // last piece every byte of the stream has reached the sink.
    void add(std::vector<uint8_t>& piece, bool last);

private:
    struct FreeCompressor {
        void operator()(libdeflate_compressor* c) const;
    };
    struct Slot {
        std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor;
        std::vector<uint8_t> data;
        std::unique_ptr<uint8_t[]> out;
        size_t outCapacity = 0;
        size_t outSize = 0;
        bool last = false;
        std::future<void> job;  // last, so that it is waited for before the buffers go
    };

    static void compress(Slot& slot);
    // Waits for the slot's piece and hands its bytes to the sink.
    void drain(Slot& slot);

    Sink sink_;
    std::array<Slot, 2> slots_;
    size_t added_ = 0;
    uint32_t adler_ = 1;
};

}  // namespace loom
