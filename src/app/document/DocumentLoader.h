// DocumentLoader: reads the files the window asks for as work on the shared pool, one at a time, so
// that the window answers input while a file decodes and the jobs for the picture on screen never
// wait behind a decode. A newer request supersedes any older one: one waiting is replaced, one
// being read is abandoned between frames, and the outcome of neither is ever handed over.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/document/DocumentReading.h"
#include "base/ThreadPool.h"

namespace loom::app {

struct OpenRequest {
    std::vector<std::string> paths;  // tried in turn: the first that reads is the document
    bool reloading = false;
    bool paging = false;  // the paths are a folder's, from the next image on
    // A pasted picture's bytes, read instead of a file; the one path is its name.
    std::shared_ptr<const std::string> pasted;
    // For a reload: nothing is read while the file still has this stamp.
    std::optional<FileStamp> unlessStamp;
    ReadingChoices choices;
};

struct UnreadableFile {
    std::string path;
    std::exception_ptr why;
};

struct OpenOutcome {
    OpenRequest request;
    std::optional<Document> document;        // none when no path was read
    std::vector<UnreadableFile> unreadable;  // the paths tried before, or instead of, the document
    bool unchanged = false;                  // a reload found the file as it was
};

class DocumentLoader {
public:
    using Reader = std::function<Document(const std::string& path, const ReadingChoices& choices,
                                          const std::function<bool()>& abandoned)>;

    explicit DocumentLoader(Reader read = readDocument);
    // Abandons the request being read and waits for its reading to stop.
    ~DocumentLoader();
    DocumentLoader(const DocumentLoader&) = delete;
    DocumentLoader& operator=(const DocumentLoader&) = delete;

    // Reads request's files from now, superseding any earlier request. Main thread only, as are
    // the calls below.
    void request(OpenRequest request);
    // The last request's outcome once it is made, handed over once; never blocks.
    std::optional<OpenOutcome> take();
    // The last request's outcome is not handed over yet.
    bool busy() const { return requested_ != handedOver_; }
    // The first path of the last request while it is busy.
    const std::string& reading() const { return reading_; }

private:
    struct Waiting {
        OpenRequest request;
        uint64_t generation;
    };
    // Reads the waiting requests one after another until none waits.
    void readWaiting();
    OpenOutcome read(const Waiting& waiting) const;

    const Reader read_;
    uint64_t requested_ = 0;   // the requests made (main thread)
    uint64_t handedOver_ = 0;  // the one whose outcome take() gave (main thread)
    std::string reading_;
    std::atomic<uint64_t> latest_{0};  // the generation still wanted, read by the reading thread
    std::mutex mutex_;
    std::optional<Waiting> waiting_;
    std::optional<OpenOutcome> made_;  // the latest request's, once made
    bool making_ = false;              // a task of running_ is reading or about to
    TaskGroup running_;                // last: gone before anything its task uses
};

}  // namespace loom::app
