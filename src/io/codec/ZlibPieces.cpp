#include "io/codec/ZlibPieces.h"

#include <libdeflate.h>

#include <algorithm>
#include <stdexcept>

#include "io/codec/DeflateTail.h"

namespace loom {

void ZlibPieces::FreeCompressor::operator()(libdeflate_compressor* c) const {
    libdeflate_free_compressor(c);
}

ZlibPieces::ZlibPieces(int level, Sink sink) : sink_(std::move(sink)) {
    for (Slot& slot : slots_) {
        slot.compressor.reset(libdeflate_alloc_compressor(level));
        if (!slot.compressor) throw std::runtime_error("cannot set up the compressor");
    }
}

void ZlibPieces::add(std::vector<uint8_t>& piece, bool last) {
    if (added_ == 0) {
        const uint8_t header[2] = {0x78, 0xDA};  // deflate with a 32 KiB window, best compression
        sink_(header, sizeof(header));
    }
    Slot& slot = slots_[added_++ % slots_.size()];
    if (slot.job.valid()) drain(slot);  // the piece before the previous one
    slot.data.swap(piece);
    piece.clear();
    adler_ = libdeflate_adler32(adler_, slot.data.data(), slot.data.size());
    slot.last = last;
    // Room for the compressed piece and the empty stored block after it.
    const size_t needed = libdeflate_deflate_compress_bound(slot.compressor.get(), slot.data.size()) + 5;
    if (slot.outCapacity < needed) {
        slot.out.reset(new uint8_t[needed]);  // left uninitialised: only what is written is touched
        slot.outCapacity = needed;
    }
    slot.job = std::async(std::launch::async, [&slot] { compress(slot); });
    if (!last) return;
    drain(slots_[added_ % slots_.size()]);  // the previous piece, if any
    drain(slot);
    uint8_t checksum[4];
    for (int i = 0; i < 4; ++i) checksum[i] = uint8_t(adler_ >> (24 - 8 * i));
    sink_(checksum, sizeof(checksum));
}

void ZlibPieces::compress(Slot& slot) {
    uint8_t* out = slot.out.get();
    const size_t written = libdeflate_deflate_compress(slot.compressor.get(), slot.data.data(),
                                                       slot.data.size(), out, slot.outCapacity - 5);
    if (written == 0) throw std::runtime_error("compression failed");
    slot.outSize = written;
    if (slot.last) return;
    const DeflateTail tail = findDeflateTail(out, written);
    out[tail.lastBlockBit / 8] &= uint8_t(~(1u << (tail.lastBlockBit % 8)));
    // The empty stored block: three zero header bits at the end, zeros to the byte boundary,
    // then length 0 and its complement.
    const size_t stored = (tail.endBit + 3 + 7) / 8;
    if (tail.endBit % 8 != 0) out[tail.endBit / 8] &= uint8_t((1u << (tail.endBit % 8)) - 1);
    std::fill(out + (tail.endBit + 7) / 8, out + stored, uint8_t(0));
    const uint8_t emptyLength[4] = {0x00, 0x00, 0xFF, 0xFF};
    std::copy(emptyLength, emptyLength + 4, out + stored);
    slot.outSize = stored + 4;
}

void ZlibPieces::drain(Slot& slot) {
    if (!slot.job.valid()) return;
    slot.job.get();
    sink_(slot.out.get(), slot.outSize);
}

}  // namespace loom
