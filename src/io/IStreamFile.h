// IStreamFile: reads a standard-I/O file through a block buffer, so that many small exact reads
// cost one file read; reads larger than the buffer go straight to the file.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "io/Stream.h"

namespace loom {

class IStreamFile : public IStream {
public:
    // Takes the open file; closes it on destruction when ownsFile is set.
    IStreamFile(FILE* file, bool ownsFile = true, int32_t bufferSize = 2048);
    ~IStreamFile() override;
    IStreamFile(const IStreamFile&) = delete;
    IStreamFile& operator=(const IStreamFile&) = delete;

    int64_t tell() const override { return position_; }
    void seekAbsolute(int64_t offset) override;
    void seekRelative(int64_t offset) override;

    size_t readDataAvailable(void* destination, size_t maxSize) override;
    int64_t size() const override;
    bool isEOF() const override;
    void readData(void* destination, size_t size) override;

    // Where the buffered block starts and how many bytes it holds (for tests of the read rules).
    int64_t getBlockOffset() const { return blockOffset_; }
    int64_t getBlockSize() const { return blockSize_; }

private:
    void seekFile(int64_t offset, int whence);

    FILE* file_;
    bool ownsFile_;
    std::vector<uint8_t> buffer_;
    int64_t position_ = 0;
    int64_t blockOffset_ = 0;
    int64_t blockSize_ = 0;
    mutable int64_t size_ = 0;
    mutable bool sizeKnown_ = false;
};

using IStreamFileRef = std::shared_ptr<IStreamFile>;

// The file opened for binary reading with a 2048-byte block buffer, its file name set to path; an
// empty handle when it cannot be opened (errno says why) or is a directory.
IStreamFileRef openInputFileStream(const std::string& path);

}  // namespace loom
