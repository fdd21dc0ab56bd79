// FileWatch: tells when a file has been rewritten on disk, whether in place or by writing another
// file and renaming it over the name, as editors do. It watches the file's folder, not the file,
// because a watch on the file itself ends with the rename. Only finished writes count (the writer
// closed the file, or a rename landed on the name), so a file being written is not read halfway.
#pragma once

#include <string>

namespace loom {
namespace app {

class FileWatch {
public:
    // Without inotify (or its watches used up) nothing is ever reported: the window works as before.
    FileWatch();
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // Watches path from now on, instead of the previous one.
    void follow(const std::string& path);
    // Whether the file was rewritten since the last call. Never blocks.
    bool changed();

private:
    int fd_ = -1;
    int watch_ = -1;
    std::string name_;
};

}  // namespace app
}  // namespace loom
