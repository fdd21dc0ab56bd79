#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "io/Buffer.h"
#include "io/IStreamFile.h"
#include "io/IStreamMem.h"
#include "io/OStreamFile.h"
#include "io/TempDir.h"

using namespace loom;
using loom::test::TempDir;

namespace {

std::vector<uint8_t> sequence(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = uint8_t(i * 7 + i / 256);
    return v;
}

}  // namespace

TEST(Buffer, OwnedResizeKeepsContentsAndBorrowedIsUntouched) {
    Buffer owned(4);
    std::memcpy(owned.getData(), "abcd", 4);
    owned.resize(8);
    EXPECT_EQ(owned.getAllocatedSize(), 8);
    EXPECT_EQ(owned.getDataSize(), 8);
    EXPECT_EQ(std::memcmp(owned.getData(), "abcd", 4), 0);

    char memory[5] = "wxyz";
    Buffer borrowed(memory, 4);
    borrowed.resize(100);
    EXPECT_EQ(borrowed.getData(), memory) << "borrowed data must not be reallocated";
    EXPECT_EQ(borrowed.getAllocatedSize(), 4);
    EXPECT_FALSE(borrowed.ownsData());
}

TEST(Buffer, DataSizeNeverExceedsAllocation) {
    Buffer b(10);
    b.setDataSize(50);
    EXPECT_EQ(b.getDataSize(), 10);
    b.setDataSize(3);
    EXPECT_EQ(b.getDataSize(), 3);
    Buffer copy = b;
    copy.setDataSize(1);
    EXPECT_EQ(b.getDataSize(), 1) << "copies share one record";
}

TEST(IStreamMem, ReadRulesAndSeeks) {
    const auto data = sequence(100);
    IStreamMem s(data.data(), data.size());
    std::vector<uint8_t> out(200);
    s.seekAbsolute(90);
    EXPECT_EQ(s.readDataAvailable(out.data(), 50), 10u) << "returns what remains";
    EXPECT_TRUE(s.isEOF());
    s.seekAbsolute(95);
    EXPECT_THROW(s.readData(out.data(), 6), StreamExc);
    EXPECT_EQ(s.tell(), 95) << "a failed exact read does not move";
    s.seekAbsolute(-1);
    EXPECT_EQ(s.tell(), 99);
    EXPECT_THROW(s.seekAbsolute(101), StreamExc);
    EXPECT_THROW(s.seekRelative(-200), StreamExc);
    EXPECT_EQ(s.tell(), 99);
    s.seekAbsolute(10);
    s.readData(out.data(), 5);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 5),
              std::vector<uint8_t>(data.begin() + 10, data.begin() + 15));
}

TEST(IStreamFile, SmallReadsShareOneBlockLargeReadsGoDirect) {
    TempDir dir;
    const auto data = sequence(10000);
    loom::test::writeFile(dir / "f.bin", data);
    auto s = openInputFileStream(dir / "f.bin");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->getFileName(), dir / "f.bin");
    std::vector<uint8_t> out(3000);
    s->readData(out.data(), 1000);
    EXPECT_EQ(s->getBlockOffset(), 0);
    EXPECT_EQ(s->getBlockSize(), 2048);
    s->readData(out.data() + 1000, 1000);
    EXPECT_EQ(s->getBlockOffset(), 0) << "second small read served by the same block";
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 2000),
              std::vector<uint8_t>(data.begin(), data.begin() + 2000));

    // Straddles the block's end: the rest of the block, then a fresh block.
    s->readData(out.data(), 100);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 100),
              std::vector<uint8_t>(data.begin() + 2000, data.begin() + 2100));
    EXPECT_EQ(s->tell(), 2100);

    s->seekAbsolute(5000);
    s->readData(out.data(), 3000);
    EXPECT_EQ(s->getBlockOffset(), 2048) << "a read larger than the buffer bypasses it";
    EXPECT_EQ(out, std::vector<uint8_t>(data.begin() + 5000, data.begin() + 8000));

    // readDataAvailable reads from the stream's position even after buffered reads.
    s->seekAbsolute(0);
    s->readData(out.data(), 10);
    uint8_t b = 0;
    EXPECT_EQ(s->readDataAvailable(&b, 1), 1u);
    EXPECT_EQ(b, data[10]);

    s->seekAbsolute(9990);
    EXPECT_THROW(s->readData(out.data(), 20), StreamExc);
    EXPECT_EQ(s->size(), 10000);
}

TEST(IStreamFile, MissingFileOrDirectoryGivesEmptyHandle) {
    TempDir dir;
    EXPECT_FALSE(openInputFileStream(dir / "missing.png"));
    EXPECT_FALSE(openInputFileStream(dir.path())) << "a directory is not a readable file";
}

TEST(ReadStreamToBuffer, KnownSizeEmptyAndUnknownSize) {
    TempDir dir;
    const auto data = sequence(10000);
    loom::test::writeFile(dir / "f.bin", data);
    Buffer whole = readStreamToBuffer(openInputFileStream(dir / "f.bin"));
    ASSERT_EQ(whole.getDataSize(), 10000);
    EXPECT_EQ(std::memcmp(whole.getData(), data.data(), data.size()), 0);

    loom::test::writeFile(dir / "empty.bin", {});
    EXPECT_EQ(readStreamToBuffer(openInputFileStream(dir / "empty.bin")).getDataSize(), 0);

    // A pipe has no size: the buffer grows until the end.
    FILE* pipe = popen(("cat " + (dir / "f.bin")).c_str(), "r");
    ASSERT_TRUE(pipe);
    auto piped = std::make_shared<IStreamFile>(pipe, false);
    Buffer grown = readStreamToBuffer(piped);
    pclose(pipe);
    ASSERT_EQ(grown.getDataSize(), 10000);
    EXPECT_EQ(std::memcmp(grown.getData(), data.data(), data.size()), 0);
}

TEST(OStreamFile, WritesSeeksAndDeletesOnDestroy) {
    TempDir dir;
    {
        auto out = openOutputFileStream(dir / "sub/dir/out.bin", true);
        ASSERT_TRUE(out) << "parent directories are created";
        out->writeData("hello world", 11);
        out->seekAbsolute(0);
        out->writeData("J", 1);
        EXPECT_EQ(out->tell(), 1);
    }
    const auto bytes = loom::test::readFile(dir / "sub/dir/out.bin");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Jello world");

    {
        auto out = openOutputFileStream(dir / "gone.bin", false);
        out->setDeleteOnDestroy(true);
        out->writeData("x", 1);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "gone.bin"));
    EXPECT_FALSE(openOutputFileStream(dir / "missing/x.bin", false));
}

TEST(OStreamFile, WriteAfterCloseFails) {
    TempDir dir;
    auto out = openOutputFileStream(dir / "c.bin", false);
    out->close();
    EXPECT_THROW(out->writeData("x", 1), StreamExc);
}
