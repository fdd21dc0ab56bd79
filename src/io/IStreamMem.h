// IStreamMem: reads borrowed memory; the memory must outlive the stream.
#pragma once

#include <memory>

#include "io/Stream.h"

namespace loom {

class IStreamMem : public IStream {
public:
    IStreamMem(const void* data, size_t size)
        : data_(static_cast<const uint8_t*>(data)), size_(int64_t(size)) {}

    int64_t tell() const override { return position_; }
    // Negative offsets count from the end; a position outside the data raises StreamExc and
    // leaves the stream where it was.
    void seekAbsolute(int64_t offset) override;
    void seekRelative(int64_t offset) override;

    size_t readDataAvailable(void* destination, size_t maxSize) override;
    int64_t size() const override { return size_; }
    bool isEOF() const override { return position_ >= size_; }
    // StreamExc, without moving, when fewer than size bytes remain.
    void readData(void* destination, size_t size) override;

private:
    void moveTo(int64_t position);

    const uint8_t* data_;
    int64_t size_;
    int64_t position_ = 0;
};

using IStreamMemRef = std::shared_ptr<IStreamMem>;

}  // namespace loom
