#include "app/document/DocumentLoader.h"

namespace loom::app {

namespace {

// Decoding is background work, which waits for the picture's jobs; but with a single worker,
// background work would wait for ever, and the decode then takes turns with them instead.
TaskPriority readingPriority() {
    return ThreadPool::shared().workers() >= 2 ? TaskPriority::BACKGROUND : TaskPriority::URGENT;
}

}  // namespace

DocumentLoader::DocumentLoader(Reader read) : read_(std::move(read)), running_(readingPriority()) {}

DocumentLoader::~DocumentLoader() {
    const std::lock_guard<std::mutex> lock(mutex_);
    waiting_.reset();
    ++latest_;  // what is being read is abandoned
}

void DocumentLoader::request(OpenRequest request) {
    reading_ = request.paths.empty() ? std::string() : request.paths.front();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        latest_ = ++requested_;
        made_.reset();
        waiting_ = Waiting{std::move(request), requested_};
        if (making_) return;
        making_ = true;
    }
    running_.run([this] { readWaiting(); });
}

std::optional<OpenOutcome> DocumentLoader::take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!made_) return std::nullopt;
    handedOver_ = requested_;
    reading_.clear();
    std::optional<OpenOutcome> made = std::move(made_);
    made_.reset();
    return made;
}

void DocumentLoader::readWaiting() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (waiting_) {
        const Waiting waiting = std::move(*waiting_);
        waiting_.reset();
        lock.unlock();
        OpenOutcome outcome = read(waiting);
        lock.lock();
        if (waiting.generation == latest_) made_ = std::move(outcome);
    }
    making_ = false;
}

OpenOutcome DocumentLoader::read(const Waiting& waiting) const {
    const OpenRequest& request = waiting.request;
    OpenOutcome outcome;
    outcome.request = request;
    if (request.unlessStamp && !request.paths.empty() &&
        FileStamp::of(request.paths.front()) == *request.unlessStamp) {
        outcome.unchanged = true;
        return outcome;
    }
    const uint64_t generation = waiting.generation;
    const auto abandoned = [this, generation] { return latest_ != generation; };
    for (const std::string& path : request.paths) {
        if (abandoned()) break;
        try {
            outcome.document =
                request.pasted ? readPastedDocument(*request.pasted, path, request.choices, abandoned)
                               : read_(path, request.choices, abandoned);
            break;
        } catch (...) {
            outcome.unreadable.push_back({path, std::current_exception()});
        }
    }
    return outcome;
}

}  // namespace loom::app
