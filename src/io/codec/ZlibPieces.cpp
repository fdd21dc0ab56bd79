#include "io/codec/ZlibPieces.h"

#include <algorithm>
#include <stdexcept>

namespace loom {

namespace {

constexpr size_t WINDOW = size_t(1) << 15;  // deflate's reach back

// A raw deflate stream (no zlib header) with the effort's limits; they must be set again after
// every reset, which puts the level's own back.
void startDeflate(z_stream& stream, DeflateEffort effort) {
    if (deflateInit2(&stream, effort.level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("cannot set up the compressor");
}

void applyLimits(z_stream& stream, DeflateEffort effort) {
    if (effort.chain && deflateTune(&stream, effort.goodLength, effort.lazyMatch, effort.niceLength,
                                    effort.chain) != Z_OK)
        throw std::runtime_error("compressor failed");
}

}  // namespace

size_t deflatedSize(const std::vector<uint8_t>& data, DeflateEffort effort) {
    z_stream stream{};
    startDeflate(stream, effort);
    struct Ending {
        z_stream& stream;
        ~Ending() { deflateEnd(&stream); }
    } ending{stream};
    applyLimits(stream, effort);
    std::vector<uint8_t> out(deflateBound(&stream, uLong(data.size())));
    stream.next_in = const_cast<uint8_t*>(data.data());
    stream.avail_in = uInt(data.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("compression failed");
    return out.size() - stream.avail_out;
}

void ZlibPieces::EndDeflate::operator()(z_stream* stream) const {
    deflateEnd(stream);
    delete stream;
}

ZlibPieces::ZlibPieces(DeflateEffort effort, Sink sink)
    : effort_(effort), sink_(std::move(sink)), adler_(adler32(0, nullptr, 0)) {
    for (Slot& slot : slots_) {
        auto stream = std::make_unique<z_stream>();
        startDeflate(*stream, effort);
        slot.stream.reset(stream.release());
    }
}

void ZlibPieces::add(std::vector<uint8_t>& piece, bool last) {
    if (added_ == 0) {
        const uint8_t header[2] = {0x78, 0xDA};  // deflate with a 32 KiB window
        sink_(header, sizeof(header));
    }
    Slot& slot = slots_[added_ % slots_.size()];
    const Slot& before = slots_[(added_ + 1) % slots_.size()];
    drain(slot);  // the piece before the previous one
    // The previous piece is still being read by its compressor, which only reads it too.
    const size_t kept = std::min(WINDOW, before.data.size());
    slot.history.assign(before.data.end() - long(kept), before.data.end());
    ++added_;
    slot.data.swap(piece);
    piece.clear();
    adler_ = adler32_z(adler_, slot.data.data(), slot.data.size());
    slot.last = last;
    // Room for the whole piece however it compresses, and the flush's empty block.
    const size_t needed = deflateBound(slot.stream.get(), uLong(slot.data.size())) + 16;
    if (slot.outCapacity < needed) {
        slot.out.reset(new uint8_t[needed]);
        slot.outCapacity = needed;
    }
    slot.compressing = true;
    slot.job.run([this, &slot] { compress(slot); });
    if (!last) return;
    drain(slots_[added_ % slots_.size()]);  // the previous piece, if any
    drain(slot);
    const uint8_t checksum[4] = {uint8_t(adler_ >> 24), uint8_t(adler_ >> 16), uint8_t(adler_ >> 8),
                                 uint8_t(adler_)};
    sink_(checksum, sizeof(checksum));
}

void ZlibPieces::compress(Slot& slot) const {
    z_stream& s = *slot.stream;
    if (deflateReset(&s) != Z_OK) throw std::runtime_error("compressor failed");
    applyLimits(s, effort_);
    if (!slot.history.empty() &&
        deflateSetDictionary(&s, slot.history.data(), uInt(slot.history.size())) != Z_OK)
        throw std::runtime_error("compressor failed");
    s.next_in = slot.data.data();
    s.avail_in = uInt(slot.data.size());
    s.next_out = slot.out.get();
    s.avail_out = uInt(slot.outCapacity);
    const int result = deflate(&s, slot.last ? Z_FINISH : Z_SYNC_FLUSH);
    if (result != (slot.last ? Z_STREAM_END : Z_OK) || s.avail_in != 0 || s.avail_out == 0)
        throw std::runtime_error("compression failed");
    slot.outSize = slot.outCapacity - s.avail_out;
}

void ZlibPieces::drain(Slot& slot) {
    if (!slot.compressing) return;
    slot.compressing = false;
    slot.job.wait();
    sink_(slot.out.get(), slot.outSize);
}

}  // namespace loom
