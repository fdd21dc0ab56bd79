// Reading a file into a Document: its frames, colour table and atlas. Runs on any thread.
#pragma once

#include <functional>
#include <string>

#include "app/document/Document.h"

namespace loom::app {

// What the window decides, on its own thread, for the files it asks to be read.
struct ReadingChoices {
    int resultFactor = 1;   // the factor of the result: a picture whose result is too large is refused
    int largestFactor = 1;  // the largest the panel offers, which an atlas is checked for
    // The file named on the command line, and the atlas named with it (for that file only).
    std::string commandLineFile;
    std::string commandLineAtlas;
};

// The document read from path (without an id), or throws why it cannot be read. A broken atlas
// found beside the sheet is named in atlasStatus and ignored; a broken one named on the command
// line throws AtlasExc naming it. Reading stops between frames once abandoned() says so.
Document readDocument(const std::string& path, const ReadingChoices& choices,
                      const std::function<bool()>& abandoned);

// The same from a picture's bytes (pasted), whose name's extension tells its format; it has no
// atlas.
Document readPastedDocument(const std::string& bytes, const std::string& name,
                            const ReadingChoices& choices, const std::function<bool()>& abandoned);

}  // namespace loom::app
