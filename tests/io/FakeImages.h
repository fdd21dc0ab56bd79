// Small in-memory image sources and targets with any described layout, for testing the
// converters and the codecs without files.
#pragma once

#include <cstring>
#include <stdexcept>
#include <vector>

#include "io/ImageSource.h"
#include "io/ImageTarget.h"

namespace loom::test {

// A source whose rows are given as raw bytes in the described layout.
class FakeSource : public ImageSource {
public:
    FakeSource(int32_t width, int32_t height, ColorModel model, DataType type, SampleOrder order,
               std::vector<uint8_t> bytes)
        : bytes_(std::move(bytes)) {
        setSize(width, height);
        setColorModel(model);
        setDataType(type);
        setSampleOrder(order);
        rowBytes_ = size_t(width) * size_t(channelsOf(order)) * size_t(bytesPerSampleOf(type));
        if (bytes_.size() != rowBytes_ * size_t(height))
            throw std::logic_error("FakeSource: wrong byte count");
    }
    // Rows up to failAtRow are delivered, then the load throws (for failed-write tests).
    void failAtRow(int32_t row) { failAtRow_ = row; }
    void load(ImageTargetRef target) override {
        setupRowFunc(*target);
        for (int32_t y = 0; y < getHeight(); ++y) {
            if (y == failAtRow_) throw std::runtime_error("source failed");
            processRow(*target, y, bytes_.data() + rowBytes_ * size_t(y));
        }
    }

private:
    std::vector<uint8_t> bytes_;
    size_t rowBytes_;
    int32_t failAtRow_ = -1;
};

// A target that gathers the rows in its described layout.
class FakeTarget : public ImageTarget {
public:
    FakeTarget(int32_t width, int32_t height, ColorModel model, DataType type, SampleOrder order) {
        setSize(width, height);
        setColorModel(model);
        setDataType(type);
        setSampleOrder(order);
        const int channels = channelsOf(order) ? channelsOf(order) : 4;
        const int sample = bytesPerSampleOf(type) ? bytesPerSampleOf(type) : 1;
        rowBytes_ = size_t(width) * size_t(channels) * size_t(sample);
        bytes_.assign(rowBytes_ * size_t(height), 0xAB);  // marks samples never written
    }
    void* getRowPointer(int32_t row) override { return bytes_.data() + rowBytes_ * size_t(row); }
    void finalize() override { ++finalized; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    template <typename T>
    std::vector<T> samples() const {
        std::vector<T> out(bytes_.size() / sizeof(T));
        std::memcpy(out.data(), bytes_.data(), out.size() * sizeof(T));
        return out;
    }
    int finalized = 0;

private:
    std::vector<uint8_t> bytes_;
    size_t rowBytes_;
};

template <typename T>
std::vector<uint8_t> bytesOf(const std::vector<T>& samples) {
    std::vector<uint8_t> out(samples.size() * sizeof(T));
    std::memcpy(out.data(), samples.data(), out.size());
    return out;
}

}  // namespace loom::test
