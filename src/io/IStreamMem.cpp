#include "io/IStreamMem.h"

#include <algorithm>
#include <cstring>

namespace loom {

void IStreamMem::moveTo(int64_t position) {
    if (position < 0 || position > size_) throw StreamExc("seek outside the data");
    position_ = position;
}

void IStreamMem::seekAbsolute(int64_t offset) { moveTo(offset < 0 ? offset + size_ : offset); }

void IStreamMem::seekRelative(int64_t offset) { moveTo(position_ + offset); }

size_t IStreamMem::readDataAvailable(void* destination, size_t maxSize) {
    const int64_t count = std::min<int64_t>(int64_t(maxSize), size_ - position_);
    if (count <= 0) return 0;
    std::memcpy(destination, data_ + position_, size_t(count));
    position_ += count;
    return size_t(count);
}

void IStreamMem::readData(void* destination, size_t size) {
    if (int64_t(size) > size_ - position_) throw StreamExc("unexpected end of data");
    if (size) std::memcpy(destination, data_ + position_, size);
    position_ += int64_t(size);
}

}  // namespace loom
