// Document: the file shown, as one value: its frames (one for a still picture) and delays, its
// colour table, its atlas, where it was read from and the stamp a reload compares. It is read whole
// off the main thread and handed to the window with a move; the window keeps no copy of its parts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/document/Animation.h"
#include "app/document/FileStamp.h"
#include "io/Palette.h"
#include "pipeline/Atlas.h"

namespace loom::app {

struct Document {
    std::string path;     // for a pasted picture, its name with its format's extension
    bool pasted = false;  // from the clipboard: no file of its own
    Animation animation;
    Palette palette;  // the source's colour table, which a save keeps when it can
    // The sheet's atlas (named on the command line, or found beside it), its frames on the sheet,
    // and what the status line says of it.
    std::optional<Atlas> atlas;
    std::vector<AtlasFrame> atlasFrames;
    std::string atlasStatus;
    FileStamp stamp;  // the file's when it was read
    uint64_t id = 0;  // which file read, so that the frames of two never mix

    // The frame shown: the picture the results are made of.
    const Surface& frame() const { return animation.frame(); }
    // Without its folder, as the title and the status line name a file; "clipboard" when pasted.
    std::string name() const;
};

// Without its folder.
std::string fileName(const std::string& path);

}  // namespace loom::app
