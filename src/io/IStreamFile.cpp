#include "io/IStreamFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "io/Paths.h"

namespace loom {

IStreamFile::IStreamFile(FILE* file, bool ownsFile, int32_t bufferSize)
    : file_(file), ownsFile_(ownsFile), buffer_(size_t(bufferSize > 0 ? bufferSize : 1)) {}

IStreamFile::~IStreamFile() {
    if (ownsFile_ && file_) std::fclose(file_);
    if (getDeleteOnDestroy() && !getFileName().empty()) deleteFile(getFileName());
}

void IStreamFile::seekFile(int64_t offset, int whence) {
    if (fseeko(file_, off_t(offset), whence) != 0) throw StreamExc("seek failed");
}

void IStreamFile::seekAbsolute(int64_t offset) {
    if (offset >= 0)
        seekFile(offset, SEEK_SET);
    else
        seekFile(offset, SEEK_END);
    position_ = ftello(file_);
}

void IStreamFile::seekRelative(int64_t offset) {
    seekFile(position_ + offset, SEEK_SET);
    position_ = ftello(file_);
}

size_t IStreamFile::readDataAvailable(void* destination, size_t maxSize) {
    // Buffered reads leave the file ahead of our position: read from where the caller stands.
    // A pipe cannot seek (and is never ahead), so only a seekable file is moved.
    const off_t at = ftello(file_);
    if (at >= 0 && at != position_) seekFile(position_, SEEK_SET);
    const size_t got = std::fread(destination, 1, maxSize, file_);
    const off_t after = ftello(file_);
    position_ = after >= 0 ? int64_t(after) : position_ + int64_t(got);
    return got;
}

int64_t IStreamFile::size() const {
    if (sizeKnown_) return size_;
    const off_t here = ftello(file_);
    if (here < 0 || fseeko(file_, 0, SEEK_END) != 0) return 0;  // not seekable: unknown
    size_ = ftello(file_);
    sizeKnown_ = true;
    fseeko(file_, here, SEEK_SET);
    return size_;
}

bool IStreamFile::isEOF() const { return position_ >= blockOffset_ + blockSize_ && std::feof(file_); }

void IStreamFile::readData(void* destination, size_t size) {
    auto* out = static_cast<uint8_t*>(destination);
    const int64_t n = int64_t(size);
    const int64_t blockEnd = blockOffset_ + blockSize_;
    if (position_ >= blockOffset_ && position_ + n <= blockEnd) {
        std::memcpy(out, buffer_.data() + (position_ - blockOffset_), size);
        position_ += n;
    } else if (position_ > blockOffset_ && position_ < blockEnd) {
        const int64_t head = blockEnd - position_;
        std::memcpy(out, buffer_.data() + (position_ - blockOffset_), size_t(head));
        position_ += head;
        readData(out + head, size_t(n - head));
    } else if (size > buffer_.size()) {
        seekFile(position_, SEEK_SET);
        if (std::fread(out, 1, size, file_) != size) throw StreamExc("unexpected end of file");
        position_ += n;
    } else {
        seekFile(position_, SEEK_SET);
        blockOffset_ = position_;
        blockSize_ = int64_t(std::fread(buffer_.data(), 1, buffer_.size(), file_));
        if (blockSize_ < n) throw StreamExc("unexpected end of file");
        std::memcpy(out, buffer_.data(), size);
        position_ = blockOffset_ + n;
    }
}

IStreamFileRef openInputFileStream(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rbe");
    if (!file) return nullptr;
    struct stat info;
    if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file);
        errno = EISDIR;
        return nullptr;
    }
    auto stream = std::make_shared<IStreamFile>(file, true, 2048);
    stream->setFileName(path);
    return stream;
}

}  // namespace loom
