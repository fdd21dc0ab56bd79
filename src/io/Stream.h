// The stream family: StreamBase (name, position, seeking), IStream (reading) and OStream
// (writing), with the failure type StreamExc. File and memory streams live beside this header.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/Exception.h"
#include "io/Buffer.h"

namespace loom {

// Short reads, failed writes and seeks, files that cannot be opened by a caller that needs them.
class StreamExc : public Exception {
public:
    StreamExc() : Exception("stream error") {}
    explicit StreamExc(std::string message) : Exception(std::move(message)) {}
};

// A stream too large to hold in one buffer.
class StreamOutOfMemoryExc : public StreamExc {
public:
    StreamOutOfMemoryExc() : StreamExc("stream too large to read into memory") {}
};

class StreamBase {
public:
    virtual ~StreamBase() = default;
    virtual int64_t tell() const = 0;
    // A non-negative offset counts from the start, a negative one from the end.
    virtual void seekAbsolute(int64_t offset) = 0;
    virtual void seekRelative(int64_t offset) = 0;

    const std::string& getFileName() const { return fileName_; }
    void setFileName(const std::string& name) { fileName_ = name; }
    bool getDeleteOnDestroy() const { return deleteOnDestroy_; }
    // When set, the file named by getFileName() is deleted once the stream is destroyed.
    void setDeleteOnDestroy(bool deleteOnDestroy) { deleteOnDestroy_ = deleteOnDestroy; }

private:
    std::string fileName_;
    bool deleteOnDestroy_ = false;
};

class IStream : public virtual StreamBase {
public:
    // Reads up to maxSize bytes; returns how many were read (0 at the end).
    virtual size_t readDataAvailable(void* destination, size_t maxSize) = 0;
    // Total size in bytes; 0 when unknown (a pipe).
    virtual int64_t size() const = 0;
    virtual bool isEOF() const = 0;
    // Exactly size bytes, or StreamExc.
    virtual void readData(void* destination, size_t size) = 0;
};

class OStream : public virtual StreamBase {
public:
    // All size bytes, or StreamExc.
    virtual void writeData(const void* source, size_t size) = 0;
};

using IStreamRef = std::shared_ptr<IStream>;
using OStreamRef = std::shared_ptr<OStream>;

// The rest of the stream as an owned buffer. Throws StreamExc on a read error and
// StreamOutOfMemoryExc when the data cannot fit in one buffer.
Buffer readStreamToBuffer(const IStreamRef& stream);

}  // namespace loom
