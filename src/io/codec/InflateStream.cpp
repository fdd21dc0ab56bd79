#include "io/codec/InflateStream.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "io/ImageIoExc.h"

namespace loom {

void InflateStream::EndInflate::operator()(z_stream* stream) const {
    inflateEnd(stream);
    delete stream;
}

InflateStream::InflateStream(const uint8_t* data, size_t size, std::string failure)
    : failure_(std::move(failure)) {
    auto stream = std::make_unique<z_stream>();
    stream->next_in = const_cast<Bytef*>(data);
    stream->avail_in = uInt(std::min<size_t>(size, UINT_MAX));
    if (inflateInit(stream.get()) != Z_OK) throw ImageIoFailedLoadExc(failure_);
    stream_.reset(stream.release());
}

void InflateStream::read(uint8_t* out, size_t count) {
    while (count > 0) {
        const uInt piece = uInt(std::min<size_t>(count, UINT_MAX));
        stream_->next_out = out;
        stream_->avail_out = piece;
        const int status = inflate(stream_.get(), Z_SYNC_FLUSH);
        const size_t made = piece - stream_->avail_out;
        if (made == 0 || (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)) fail();
        out += made;
        count -= made;
        if (status == Z_STREAM_END && count > 0) fail();
    }
}

void InflateStream::skip(size_t count) {
    std::vector<uint8_t> scratch(std::min<size_t>(count, 64 * 1024));
    while (count > 0) {
        const size_t piece = std::min(count, scratch.size());
        read(scratch.data(), piece);
        count -= piece;
    }
}

void InflateStream::fail() const { throw ImageIoFailedLoadExc(failure_); }

}  // namespace loom
