// DataSource: something to read bytes from, a file path or a memory buffer. Cheap shared handles:
// nothing is opened until a stream or the buffer is asked for.
#pragma once

#include <memory>
#include <string>

#include "io/Buffer.h"
#include "io/Stream.h"

namespace loom {

class DataSource {
public:
    virtual bool isFilePath() const = 0;
    virtual bool isUrl() const = 0;
    virtual IStreamRef createStream() = 0;
    virtual ~DataSource() = default;

    const std::string& getFilePath() const { return filePath_; }
    // The name whose extension hints at the format (a path, or what a memory block came from).
    const std::string& getFilePathHint() const { return filePathHint_; }
    // All the bytes, read on first request and kept. Throws StreamExc when they cannot be read.
    Buffer getBuffer();

protected:
    virtual void createBuffer() = 0;

    Buffer buffer_;
    std::string filePath_;
    std::string filePathHint_;
    std::string url_;
};

using DataSourceRef = std::shared_ptr<DataSource>;

class DataSourcePath : public DataSource {
public:
    explicit DataSourcePath(const std::string& path);
    bool isFilePath() const override { return true; }
    bool isUrl() const override { return false; }
    // The file's stream; StreamExc naming the file and the reason when it cannot be opened.
    IStreamRef createStream() override;

protected:
    void createBuffer() override;
};

class DataSourceBuffer : public DataSource {
public:
    explicit DataSourceBuffer(Buffer buffer, const std::string& filePathHint = std::string());
    bool isFilePath() const override { return false; }
    bool isUrl() const override { return false; }
    // A memory stream over the buffer; the source must outlive it.
    IStreamRef createStream() override;

protected:
    void createBuffer() override {}
};

using DataSourcePathRef = std::shared_ptr<DataSourcePath>;
using DataSourceBufferRef = std::shared_ptr<DataSourceBuffer>;

DataSourcePathRef openFileSource(const std::string& path);
DataSourceBufferRef makeBufferSource(Buffer buffer, const std::string& filePathHint = std::string());

}  // namespace loom
