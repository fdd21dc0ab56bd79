// FileWatch: tells when the file shown has been rewritten on disk, so that the window can show it
// again. Only finished writes count, so a file being written is not read halfway. The desktop's
// implementation is in desktop/; where a platform cannot watch, nothing is ever reported and the
// window works as before.
#pragma once

#include <string>

namespace loom::framework {

class FileWatch {
public:
    virtual ~FileWatch() = default;

    // Watches path from now on, instead of the previous one; what happened to it before is not news.
    virtual void follow(const std::string& path) = 0;
    // Whether the file was rewritten since the last call. Never blocks.
    virtual bool changed() = 0;
};

}  // namespace loom::framework
