// ByteReader: a bounded cursor over a file's bytes for the formats read by hand (BMP, TGA, netpbm,
// PCX, IFF, QOI, ICO, the animation chunks of PNG, Aseprite). Every read checks what is left, so a
// count or an offset taken from the file can never lead past the data: running out raises
// ImageIoFailedLoadExc("<format>: truncated data"). A chunk is read through a reader of its own
// (sub()), which ends where the chunk does. Multi-byte values are little-endian, as BMP and TGA
// store them, unless the name says big-endian (IFF, QOI, PNG).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "io/ImageIoExc.h"

namespace loom {

class ByteReader {
public:
    // format names the data in messages ("BMP"); the bytes must outlive the reader.
    ByteReader(const uint8_t* data, size_t size, const char* format)
        : data_(data), size_(size), format_(format) {}

    size_t size() const { return size_; }
    size_t position() const { return position_; }
    size_t remaining() const { return size_ - position_; }
    bool atEnd() const { return position_ == size_; }

    void seek(size_t position) {
        if (position > size_) failTruncated();
        position_ = position;
    }
    void skip(size_t count) { take(count); }
    // The next count bytes, stepped over.
    const uint8_t* take(size_t count) {
        if (count > remaining()) failTruncated();
        const uint8_t* bytes = data_ + position_;
        position_ += count;
        return bytes;
    }
    // The next byte without stepping over it; -1 at the end.
    int peek() const { return position_ < size_ ? data_[position_] : -1; }
    uint8_t u8() { return *take(1); }
    uint16_t u16() {
        const uint8_t* p = take(2);
        return uint16_t(p[0] | p[1] << 8);
    }
    uint32_t u32() {
        const uint8_t* p = take(4);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }

    uint16_t u16be() {
        const uint8_t* p = take(2);
        return uint16_t(p[0] << 8 | p[1]);
    }
    uint32_t u32be() {
        const uint8_t* p = take(4);
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    }
    // A reader over the next count bytes, which are stepped over here.
    ByteReader sub(size_t count) { return ByteReader(take(count), count, format_); }
    // Every byte the reader covers, for a library that decodes them itself.
    const uint8_t* data() const { return data_; }

    // ImageIoFailedLoadExc("<format>: <reason>").
    [[noreturn]] void fail(const std::string& reason) const {
        throw ImageIoFailedLoadExc(std::string(format_) + ": " + reason);
    }
    [[noreturn]] void failTruncated() const { fail("truncated data"); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    const char* format_;
};

}  // namespace loom
