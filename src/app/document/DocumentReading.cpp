#include "app/document/DocumentReading.h"

#include <climits>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "io/DataSource.h"
#include "io/ImageFile.h"

namespace loom::app {

namespace {

// The atlas for the sheet of document, if there is one: the one named, else one beside the sheet.
void findAtlas(Document& document, const std::string& named, int largestFactor) {
    std::string atlasPath = named;
    if (atlasPath.empty()) {
        const std::string beside =
            std::filesystem::path(document.path).replace_extension(".json").string();
        std::error_code ignored;
        if (std::filesystem::is_regular_file(beside, ignored)) atlasPath = beside;
    }
    if (atlasPath.empty()) return;
    const std::string name = fileName(atlasPath);
    const Surface& sheet = document.frame();
    try {
        Atlas atlas = readAtlas(atlasPath);
        // Checked for every mode the panel offers, as the mode may change while the sheet is shown.
        document.atlasFrames = framesOnSheet(atlas, sheet.getWidth(), sheet.getHeight(), largestFactor);
        document.atlas = std::move(atlas);
        document.atlasStatus =
            "Atlas " + name + ": " + std::to_string(document.atlasFrames.size()) + " frames";
    } catch (const AtlasExc& e) {
        // One asked for must be used: opening fails rather than show the sheet cut otherwise.
        if (!named.empty()) throw;
        // One merely found beside does not keep the picture from being shown, as a plain sheet.
        document.atlasFrames.clear();
        document.atlasStatus = "Atlas " + name + " not used: " + e.what();
        std::cerr << "QuennetApp: " << document.atlasStatus << '\n';
    }
}

// The source's frames and colour table into document.
void readPictures(Document& document, const ImageSourceRef& source,
                  const std::function<bool()>& abandoned) {
    document.palette = source->getPalette();
    document.animation = Animation(Surface(source), source, abandoned);
}

}  // namespace

Document readDocument(const std::string& path, const ReadingChoices& choices,
                      const std::function<bool()>& abandoned) {
    Document document;
    document.path = path;
    // Taken first: a change made while the file is read is then seen by the next reload.
    document.stamp = FileStamp::of(path);
    // A picture whose result would be too large is refused before it is decoded.
    readPictures(document, loadImage(path, ImageSource::Options().setScale(choices.resultFactor)),
                 abandoned);
    findAtlas(document, path == choices.commandLineFile ? choices.commandLineAtlas : std::string(),
              choices.largestFactor);
    return document;
}

Document readPastedDocument(const std::string& bytes, const std::string& name,
                            const ReadingChoices& choices, const std::function<bool()>& abandoned) {
    Document document;
    document.path = name;
    document.pasted = true;
    if (bytes.size() > size_t(INT32_MAX))
        throw std::runtime_error("the pasted picture is too large: " + std::to_string(bytes.size()) +
                                 " bytes");
    // Borrowed: the bytes outlive the reading, which copies the frames.
    Buffer borrowed(const_cast<char*>(bytes.data()), int32_t(bytes.size()));
    readPictures(document,
                 loadImage(makeBufferSource(borrowed, name),
                           ImageSource::Options().setScale(choices.resultFactor)),
                 abandoned);
    return document;
}

}  // namespace loom::app
