// InotifyFileWatch: the file watch on Linux (framework/FileWatch.h). A file counts as rewritten
// whether written in place or by writing another file and renaming it over the name, as editors
// do. It watches the file's folder, not the file, because a watch on the file itself ends with the
// rename. Only finished writes count (the writer closed the file, or a rename landed on the name),
// so a file being written is not read halfway.
#pragma once

#include <string>

#include "framework/FileWatch.h"

namespace loom::framework::desktop {

class InotifyFileWatch : public FileWatch {
public:
    // Without inotify (or its watches used up) nothing is ever reported: the window works as before.
    InotifyFileWatch();
    ~InotifyFileWatch() override;
    InotifyFileWatch(const InotifyFileWatch&) = delete;
    InotifyFileWatch& operator=(const InotifyFileWatch&) = delete;

    void follow(const std::string& path) override;
    bool changed() override;

private:
    int fd_ = -1;
    int watch_ = -1;
    std::string name_;
};

}  // namespace loom::framework::desktop
