// Buffer: a shared handle to a block of bytes, owned (allocated here, freed with the last handle)
// or borrowed (someone else's memory, never freed or resized here).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace loom {

class Buffer {
public:
    // An empty handle (no record).
    Buffer() = default;
    // Borrows size bytes at data; both sizes are size.
    Buffer(void* data, int32_t size);
    // Allocates size bytes (uncleared); throws std::bad_alloc when memory runs out and
    // std::length_error for a negative size.
    explicit Buffer(int32_t size);

    explicit operator bool() const { return rec_ != nullptr; }

    void* getData() const { return rec_ ? rec_->data : nullptr; }
    int32_t getDataSize() const { return rec_ ? rec_->dataSize : 0; }
    int32_t getAllocatedSize() const { return rec_ ? rec_->allocatedSize : 0; }
    bool ownsData() const { return rec_ && rec_->ownsData; }
    // Clamped to the allocated size, so the data size never claims bytes that do not exist.
    void setDataSize(int32_t size);
    // Owned data only: reallocates to newSize (contents kept up to the smaller size) and sets both
    // sizes to it. Borrowed data is left untouched.
    void resize(int32_t newSize);

private:
    struct Record {
        void* data = nullptr;
        int32_t allocatedSize = 0;
        int32_t dataSize = 0;
        bool ownsData = false;
        ~Record();
    };
    std::shared_ptr<Record> rec_;
};

}  // namespace loom
