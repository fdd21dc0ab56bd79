#include "io/Buffer.h"

#include <cstdlib>
#include <new>
#include <stdexcept>

namespace loom {

Buffer::Record::~Record() {
    if (ownsData) std::free(data);
}

Buffer::Buffer(void* data, int32_t size) : rec_(std::make_shared<Record>()) {
    rec_->data = data;
    rec_->allocatedSize = rec_->dataSize = size;
}

Buffer::Buffer(int32_t size) : rec_(std::make_shared<Record>()) {
    if (size < 0) throw std::length_error("negative buffer size");
    // malloc(0) may return null; ask for one byte so an owned buffer always has an address.
    rec_->data = std::malloc(size > 0 ? size_t(size) : 1);
    if (!rec_->data) throw std::bad_alloc();
    rec_->allocatedSize = rec_->dataSize = size;
    rec_->ownsData = true;
}

void Buffer::setDataSize(int32_t size) {
    if (!rec_) return;
    rec_->dataSize = size < 0 ? 0 : (size > rec_->allocatedSize ? rec_->allocatedSize : size);
}

void Buffer::resize(int32_t newSize) {
    if (!rec_ || !rec_->ownsData) return;
    if (newSize < 0) throw std::length_error("negative buffer size");
    void* grown = std::realloc(rec_->data, newSize > 0 ? size_t(newSize) : 1);
    if (!grown) throw std::bad_alloc();
    rec_->data = grown;
    rec_->allocatedSize = rec_->dataSize = newSize;
}

}  // namespace loom
