#include "io/OStreamFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

#include "io/Paths.h"

namespace loom {

OStreamFile::~OStreamFile() {
    if (ownsFile_ && file_) std::fclose(file_);
    if (getDeleteOnDestroy() && !getFileName().empty()) deleteFile(getFileName());
}

void OStreamFile::requireOpen() const {
    if (!file_) throw StreamExc("write to a closed file");
}

void OStreamFile::writeData(const void* source, size_t size) {
    requireOpen();
    if (size && std::fwrite(source, size, 1, file_) != 1)
        throw StreamExc(std::string("write failed: ") + std::strerror(errno));
}

int64_t OStreamFile::tell() const {
    requireOpen();
    return ftello(file_);
}

void OStreamFile::seekAbsolute(int64_t offset) {
    requireOpen();
    if (fseeko(file_, off_t(offset), offset >= 0 ? SEEK_SET : SEEK_END) != 0)
        throw StreamExc("seek failed");
}

void OStreamFile::seekRelative(int64_t offset) {
    requireOpen();
    if (fseeko(file_, off_t(offset), SEEK_CUR) != 0) throw StreamExc("seek failed");
}

void OStreamFile::close() {
    requireOpen();
    FILE* file = file_;
    file_ = nullptr;
    const bool flushed = std::fflush(file) == 0;
    const int flushErrno = errno;
    const bool closed = !ownsFile_ || std::fclose(file) == 0;
    if (!flushed || !closed)
        throw StreamExc(std::string("write failed: ") + std::strerror(flushed ? errno : flushErrno));
}

OStreamFileRef openOutputFileStream(const std::string& path, bool createParents) {
    if (createParents) createDirectories(getPathDirectory(path));
    const std::string canonical = getCanonicalPath(path);
    FILE* file = std::fopen(canonical.c_str(), "wbe");
    if (!file) return nullptr;
    auto stream = std::make_shared<OStreamFile>(file, true);
    stream->setFileName(path);
    return stream;
}

namespace {

// Unique per process and call; the random part keeps separate processes apart.
std::string temporaryNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::string dir = getPathDirectory(path);
    const std::string name = path.substr(dir.size());
    return dir + "." + name + "." + std::to_string(getpid()) + "-" + std::to_string(seed % 100000) +
           "-" + std::to_string(counter++) + ".tmp";
}

// Gives the file existing's owner and group, or its group alone when this process may not give the
// file away (only root may). Where neither is allowed the file stays the writer's, as any new file.
void keepOwner(int fd, const struct stat& existing) {
    if (fchown(fd, existing.st_uid, existing.st_gid) != 0) (void)fchown(fd, uid_t(-1), existing.st_gid);
}

}  // namespace

OStreamFileRef openTemporaryFileStreamBeside(const std::string& path) {
    struct stat existing;
    const bool keepMode = stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temporary = temporaryNameBeside(path);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            throw StreamExc(
                "cannot write to " +
                (getPathDirectory(path).empty() ? std::string(".") : getPathDirectory(path)) + ": " +
                std::strerror(errno));
        }
        if (keepMode) {
            // The owner first: changing it may clear the set-id bits the mode then restores.
            keepOwner(fd, existing);
            fchmod(fd, existing.st_mode & 07777);
        }
        FILE* file = fdopen(fd, "wb");
        if (!file) {
            const int err = errno;
            ::close(fd);
            ::unlink(temporary.c_str());
            throw StreamExc(std::string("cannot write: ") + std::strerror(err));
        }
        auto stream = std::make_shared<OStreamFile>(file, true);
        stream->setFileName(temporary);
        stream->setDeleteOnDestroy(true);
        return stream;
    }
    throw StreamExc("cannot create a temporary file beside " + path);
}

}  // namespace loom
