#include "io/DataTarget.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/Paths.h"

namespace loom {

DataTargetPath::DataTargetPath(const std::string& path) {
    filePath_ = path;
    filePathHint_ = path;
}

OStreamRef DataTargetPath::getStream() {
    if (!stream_) {
        createDirectories(getPathDirectory(filePath_));
        // Through a symbolic link to the file it names: renaming over the link itself would
        // replace it with a file and leave its target as it was.
        writtenPath_ = resolveSymlinks(getCanonicalPath(filePath_));
        if (writtenPath_.empty())
            throw StreamExc("cannot write " + filePath_ + ": too many levels of symbolic links");
        fileStream_ = openTemporaryFileStreamBeside(writtenPath_);
        stream_ = fileStream_;
    }
    return stream_;
}

void DataTargetPath::commit() {
    if (!fileStream_) throw StreamExc("nothing was written to " + filePath_);
    fileStream_->close();
    if (std::rename(fileStream_->getFileName().c_str(), writtenPath_.c_str()) != 0)
        throw StreamExc("cannot write " + filePath_ + ": " + std::strerror(errno));
    fileStream_->setDeleteOnDestroy(false);
    fileStream_->setFileName(filePath_);
}

DataTargetPathRef openFileTarget(const std::string& path, bool createParents) {
    if (createParents) createDirectories(getPathDirectory(path));
    return std::make_shared<DataTargetPath>(path);
}

}  // namespace loom
