// OStreamFile: writes a standard-I/O file.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "io/Stream.h"

namespace loom {

class OStreamFile : public OStream {
public:
    // Takes the open file; closes it on destruction when ownsFile is set.
    explicit OStreamFile(FILE* file, bool ownsFile = true) : file_(file), ownsFile_(ownsFile) {}
    ~OStreamFile() override;
    OStreamFile(const OStreamFile&) = delete;
    OStreamFile& operator=(const OStreamFile&) = delete;

    void writeData(const void* source, size_t size) override;
    int64_t tell() const override;
    void seekAbsolute(int64_t offset) override;
    void seekRelative(int64_t offset) override;

    // Flushes and closes the file now, raising StreamExc when the flush fails (a full disk shows
    // up here). Later writes raise StreamExc.
    void close();

private:
    void requireOpen() const;

    FILE* file_;
    bool ownsFile_;
};

using OStreamFileRef = std::shared_ptr<OStreamFile>;

// When createParents is set, the missing parent directories are made first. The path is
// canonicalised and opened for binary writing; an empty handle when that fails (errno says why).
OStreamFileRef openOutputFileStream(const std::string& path, bool createParents = true);

// A new, empty file beside path (same directory, hidden name) that is deleted when the stream is
// destroyed unless setDeleteOnDestroy(false) is called first. Takes over the permission bits of an
// existing file at path, and its owner and group as far as this process may set them. Throws StreamExc
// naming the reason when it cannot be created.
OStreamFileRef openTemporaryFileStreamBeside(const std::string& path);

}  // namespace loom
