// The loader with a fake reader held at a gate: the caller keeps answering while a file is read, a
// newer request supersedes an older one, paging passes over files that cannot be read, and a reload
// of an unchanged file reads nothing. Also built for ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>

#include "app/document/DocumentLoader.h"
#include "tools/Gate.h"
#include "tools/WaitUntil.h"

using loom::Surface;
using loom::app::Document;
using loom::app::DocumentLoader;
using loom::app::FileStamp;
using loom::app::OpenOutcome;
using loom::app::OpenRequest;
using loom::app::ReadingChoices;
using loom::testtools::Gate;
using loom::testtools::OpenedAtEnd;
using loom::testtools::waitUntil;
using namespace std::chrono_literals;

namespace {

constexpr auto kPatience = 60s;  // a loaded machine or ThreadSanitizer slows every step

// Reads any path but "bad..." into a one-frame document; "slow..." waits at the gate first.
struct FakeReader {
    Gate& gate;
    std::atomic<int>& reads;
    std::atomic<bool>& inside;
    std::atomic<bool>& sawAbandoned;

    Document operator()(const std::string& path, const ReadingChoices&,
                        const std::function<bool()>& abandoned) const {
        ++reads;
        if (path.rfind("slow", 0) == 0) {
            inside = true;
            gate.pass();
            if (abandoned()) sawAbandoned = true;
        }
        if (path.rfind("bad", 0) == 0) throw std::runtime_error("not an image");
        Document document;
        document.path = path;
        return document;
    }
};

struct LoaderTest : ::testing::Test {
    Gate gate;
    std::atomic<int> reads{0};
    std::atomic<bool> inside{false};
    std::atomic<bool> sawAbandoned{false};
    DocumentLoader loader{FakeReader{gate, reads, inside, sawAbandoned}};
    const OpenedAtEnd opener{gate};  // after the loader: opens before the loader waits

    static OpenRequest requestOf(std::vector<std::string> paths) {
        OpenRequest request;
        request.paths = std::move(paths);
        return request;
    }
    OpenOutcome nextOutcome() {
        std::optional<OpenOutcome> outcome;
        EXPECT_TRUE(waitUntil([&] { return bool(outcome = loader.take()); }, kPatience));
        return outcome ? std::move(*outcome) : OpenOutcome();
    }
};

}  // namespace

TEST_F(LoaderTest, TheCallerKeepsAnsweringWhileAFileIsRead) {
    loader.request(requestOf({"slow.gif"}));
    ASSERT_TRUE(waitUntil([&] { return inside.load(); }, kPatience)) << "the file is not being read";
    for (int i = 0; i < 100; ++i) ASSERT_FALSE(loader.take()) << "handed over before it was read";
    EXPECT_TRUE(loader.busy());
    EXPECT_EQ(loader.reading(), "slow.gif");
    gate.open();
    const OpenOutcome outcome = nextOutcome();
    ASSERT_TRUE(outcome.document);
    EXPECT_EQ(outcome.document->path, "slow.gif");
    EXPECT_FALSE(loader.busy());
    EXPECT_FALSE(loader.take()) << "handed over twice";
}

TEST_F(LoaderTest, ANewerRequestSupersedesAnOlderOneWhoseOutcomeNeverComes) {
    loader.request(requestOf({"slow-a.png"}));
    ASSERT_TRUE(waitUntil([&] { return inside.load(); }, kPatience));
    loader.request(requestOf({"b-waiting.png"}));
    loader.request(requestOf({"c.png"}));  // replaces b before it is read
    gate.open();
    const OpenOutcome outcome = nextOutcome();
    ASSERT_TRUE(outcome.document);
    EXPECT_EQ(outcome.document->path, "c.png");
    EXPECT_TRUE(sawAbandoned) << "the file being read was not told it is no longer wanted";
    EXPECT_EQ(reads, 2) << "a superseded request that waited was read";
    std::this_thread::sleep_for(50ms);  // room for a stray outcome to arrive
    EXPECT_FALSE(loader.take()) << "a superseded outcome was handed over";
}

TEST_F(LoaderTest, PagingPassesOverWhatCannotBeReadInOrder) {
    OpenRequest request = requestOf({"bad-1.png", "bad-2.png", "next.png", "after.png"});
    request.paging = true;
    loader.request(request);
    const OpenOutcome outcome = nextOutcome();
    ASSERT_TRUE(outcome.document);
    EXPECT_EQ(outcome.document->path, "next.png");
    ASSERT_EQ(outcome.unreadable.size(), 2u);
    EXPECT_EQ(outcome.unreadable[0].path, "bad-1.png");
    EXPECT_EQ(outcome.unreadable[1].path, "bad-2.png");
    EXPECT_EQ(reads, 3) << "read past the first that opens";

    loader.request(requestOf({"bad-only.png"}));
    const OpenOutcome failed = nextOutcome();
    EXPECT_FALSE(failed.document);
    ASSERT_EQ(failed.unreadable.size(), 1u);
    EXPECT_TRUE(failed.unreadable[0].why);
}

TEST_F(LoaderTest, AReloadOfAFileWithTheSameStampReadsNothing) {
    const std::string path = ::testing::TempDir() + "loader-stamp.png";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    std::fputs("pixels", file);
    std::fclose(file);
    OpenRequest reload = requestOf({path});
    reload.reloading = true;
    reload.unlessStamp = FileStamp::of(path);
    loader.request(reload);
    EXPECT_TRUE(nextOutcome().unchanged);
    EXPECT_EQ(reads, 0);

    reload.unlessStamp->size += 1;  // as if it had been rewritten
    loader.request(reload);
    const OpenOutcome reread = nextOutcome();
    EXPECT_FALSE(reread.unchanged);
    EXPECT_TRUE(reread.document);
    std::remove(path.c_str());
}
