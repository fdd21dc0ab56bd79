// FileStamp: a file's size and last change as read from the file system, so that a reload asked for
// by a change notice that changed nothing (a file opened for writing and closed untouched) reads
// nothing.
#pragma once

#include <cstdint>
#include <string>

namespace loom::app {

struct FileStamp {
    int64_t size = -1;
    int64_t modified = 0;  // in the file system clock's ticks

    // The file's stamp now; the default stamp when it cannot be read.
    static FileStamp of(const std::string& path);
    bool operator==(const FileStamp& o) const { return size == o.size && modified == o.modified; }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

}  // namespace loom::app
