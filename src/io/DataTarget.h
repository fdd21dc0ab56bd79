// DataTarget: somewhere to write bytes. A path target never writes over its file directly: its
// stream goes to a temporary file beside it, which commit() renames over the path once everything
// was written; dropped without commit(), the temporary file is deleted and the old file survives.
// A symbolic link is written through: the file it names is replaced, the link stays.
#pragma once

#include <memory>
#include <string>

#include "io/OStreamFile.h"
#include "io/Stream.h"

namespace loom {

class DataTarget {
public:
    virtual bool isFilePath() const = 0;
    virtual bool isUrl() const = 0;
    // The output stream, opened on first request; the same stream afterwards.
    virtual OStreamRef getStream() = 0;
    virtual ~DataTarget() = default;
    // Makes what was written final. Throws StreamExc when that fails.
    virtual void commit() {}

    const std::string& getFilePath() const { return filePath_; }
    const std::string& getFilePathHint() const { return filePathHint_; }

protected:
    std::string filePath_;
    std::string filePathHint_;
    std::string url_;
    OStreamRef stream_;
};

using DataTargetRef = std::shared_ptr<DataTarget>;

class DataTargetPath : public DataTarget {
public:
    explicit DataTargetPath(const std::string& path);
    bool isFilePath() const override { return true; }
    bool isUrl() const override { return false; }
    // A temporary file beside the path, or beside the file it names when it is a symbolic link
    // (parent directories made first); StreamExc with the reason when it cannot be created.
    OStreamRef getStream() override;
    // Closes the temporary file and renames it over that file; StreamExc when either fails (the
    // temporary file is then deleted with the stream).
    void commit() override;

private:
    OStreamFileRef fileStream_;
    std::string writtenPath_;  // the path with its symbolic links followed
};

using DataTargetPathRef = std::shared_ptr<DataTargetPath>;

// When createParents is set, the missing parent directories are made now.
DataTargetPathRef openFileTarget(const std::string& path, bool createParents = true);

}  // namespace loom
