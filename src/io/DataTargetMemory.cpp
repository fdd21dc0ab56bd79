#include "io/DataTargetMemory.h"

#include <algorithm>

namespace loom {

// Writes at its position, growing the bytes as needed; encoders seek back to fill in sizes.
class DataTargetMemory::Stream : public OStream {
public:
    int64_t tell() const override { return position_; }
    void seekAbsolute(int64_t offset) override {
        moveTo(offset >= 0 ? offset : int64_t(bytes.size()) + offset);
    }
    void seekRelative(int64_t offset) override { moveTo(position_ + offset); }
    void writeData(const void* source, size_t size) override {
        const size_t end = size_t(position_) + size;
        if (end > bytes.size()) bytes.resize(end);
        std::copy_n(static_cast<const char*>(source), size, bytes.begin() + position_);
        position_ = int64_t(end);
    }

    std::string bytes;

private:
    void moveTo(int64_t position) {
        if (position < 0 || position > int64_t(bytes.size()))
            throw StreamExc("seek to " + std::to_string(position) + " outside " +
                            std::to_string(bytes.size()) + " bytes written");
        position_ = position;
    }

    int64_t position_ = 0;
};

DataTargetMemory::DataTargetMemory(const std::string& name) : memory_(std::make_shared<Stream>()) {
    filePath_ = name;
    filePathHint_ = name;
}

OStreamRef DataTargetMemory::getStream() { return memory_; }

const std::string& DataTargetMemory::bytes() const { return memory_->bytes; }

}  // namespace loom
