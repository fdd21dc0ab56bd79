// FileDropEvent: one drop of one or more files on the window, with every path in the order the
// platform lists them and the drop point in window pixels.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/Event.h"
#include "math/Vec2.h"

namespace loom::framework {

class FileDropEvent : public Event {
public:
    FileDropEvent() = default;
    FileDropEvent(int x, int y, std::vector<std::string> files) : x(x), y(y), files(std::move(files)) {}

    int getX() const { return x; }
    int getY() const { return y; }
    Vec2f getPos() const { return Vec2f(float(x), float(y)); }
    const std::vector<std::string>& getFiles() const { return files; }
    size_t getNumFiles() const { return files.size(); }
    // Throws std::out_of_range for an index past the last file.
    const std::string& getFile(size_t index) const { return files.at(index); }

    int x = 0;
    int y = 0;
    std::vector<std::string> files;
};

}  // namespace loom::framework
