#include "io/DataSource.h"

#include <cerrno>
#include <cstring>

#include "io/IStreamFile.h"
#include "io/IStreamMem.h"

namespace loom {

Buffer DataSource::getBuffer() {
    if (!buffer_) createBuffer();
    return buffer_;
}

DataSourcePath::DataSourcePath(const std::string& path) {
    filePath_ = path;
    filePathHint_ = path;
}

IStreamRef DataSourcePath::createStream() {
    IStreamRef stream = openInputFileStream(filePath_);
    if (!stream) throw StreamExc("cannot open " + filePath_ + ": " + std::strerror(errno));
    return stream;
}

void DataSourcePath::createBuffer() { buffer_ = readStreamToBuffer(createStream()); }

DataSourceBuffer::DataSourceBuffer(Buffer buffer, const std::string& filePathHint) {
    buffer_ = buffer ? std::move(buffer) : Buffer(0);
    filePathHint_ = filePathHint;
}

IStreamRef DataSourceBuffer::createStream() {
    return std::make_shared<IStreamMem>(buffer_.getData(), size_t(buffer_.getDataSize()));
}

DataSourcePathRef openFileSource(const std::string& path) {
    return std::make_shared<DataSourcePath>(path);
}

DataSourceBufferRef makeBufferSource(Buffer buffer, const std::string& filePathHint) {
    return std::make_shared<DataSourceBuffer>(std::move(buffer), filePathHint);
}

}  // namespace loom
