#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "io/DataSource.h"
#include "io/DataTarget.h"
#include "io/TempDir.h"

using namespace loom;
using loom::test::TempDir;

TEST(DataSource, PathSourceReadsOnceAndKeepsTheBuffer) {
    TempDir dir;
    loom::test::writeFile(dir / "a.bin", {1, 2, 3});
    auto source = openFileSource(dir / "a.bin");
    EXPECT_TRUE(source->isFilePath());
    EXPECT_FALSE(source->isUrl());
    EXPECT_EQ(source->getFilePathHint(), dir / "a.bin");
    Buffer first = source->getBuffer();
    ASSERT_EQ(first.getDataSize(), 3);
    std::filesystem::remove(dir / "a.bin");
    EXPECT_EQ(source->getBuffer().getData(), first.getData()) << "the buffer is kept";
}

TEST(DataSource, MissingFileRaisesStreamExcNamingIt) {
    TempDir dir;
    auto source = openFileSource(dir / "nope.png");
    try {
        source->getBuffer();
        FAIL() << "expected StreamExc";
    } catch (const StreamExc& e) {
        EXPECT_NE(std::string(e.what()).find("nope.png"), std::string::npos) << e.what();
    }
}

TEST(DataSource, BufferSourceStreamsItsBytes) {
    uint8_t bytes[4] = {9, 8, 7, 6};
    auto source = makeBufferSource(Buffer(bytes, 4), "font.ttf");
    EXPECT_FALSE(source->isFilePath());
    EXPECT_EQ(source->getFilePath(), "");
    EXPECT_EQ(source->getFilePathHint(), "font.ttf");
    auto stream = source->createStream();
    uint8_t out[4];
    stream->readData(out, 4);
    EXPECT_EQ(std::memcmp(out, bytes, 4), 0);
    EXPECT_TRUE(stream->isEOF());
}

TEST(DataTarget, CommitReplacesTheFileAndLeavesNoTemporary) {
    TempDir dir;
    loom::test::writeFile(dir / "out.png", {'o', 'l', 'd'});
    chmod((dir / "out.png").c_str(), 0640);
    auto target = openFileTarget(dir / "out.png");
    target->getStream()->writeData("new!", 4);
    EXPECT_EQ(loom::test::readFile(dir / "out.png").size(), 3u) << "untouched until commit";
    EXPECT_EQ(dir.entries().size(), 2u) << "the temporary sits beside the target";
    target->commit();
    const auto bytes = loom::test::readFile(dir / "out.png");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new!");
    EXPECT_EQ(dir.entries().size(), 1u);
    struct stat info;
    ASSERT_EQ(stat((dir / "out.png").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replaced file's permissions are kept";
}

TEST(DataTarget, WritesThroughASymbolicLinkKeepingTheFilesMode) {
    TempDir dir;
    std::filesystem::create_directory(dir / "real");
    loom::test::writeFile(dir / "real/out.png", {'o', 'l', 'd'});
    chmod((dir / "real/out.png").c_str(), 0640);
    std::filesystem::create_symlink("real/out.png", dir / "link.png");
    auto target = openFileTarget(dir / "link.png");
    target->getStream()->writeData("new!", 4);
    target->commit();
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.png")) << "the link stays a link";
    const auto bytes = loom::test::readFile(dir / "real/out.png");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new!");
    struct stat info;
    ASSERT_EQ(stat((dir / "real/out.png").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.entries().size(), 2u) << "no temporary beside the link";
}

TEST(DataTarget, AbandonedWriteKeepsTheOldFile) {
    TempDir dir;
    loom::test::writeFile(dir / "keep.png", {'o', 'l', 'd'});
    {
        auto target = openFileTarget(dir / "keep.png");
        target->getStream()->writeData("partial", 7);
    }
    const auto bytes = loom::test::readFile(dir / "keep.png");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
    EXPECT_EQ(dir.entries().size(), 1u) << "the temporary file is removed";
}

TEST(DataTarget, CreatesParentsAndReportsUnwritableDirectories) {
    TempDir dir;
    auto target = openFileTarget(dir / "a/b/c.bin", true);
    target->getStream()->writeData("x", 1);
    target->commit();
    EXPECT_TRUE(std::filesystem::exists(dir / "a/b/c.bin"));

    // A target whose path is an existing directory fails at commit and leaves no temporary.
    std::filesystem::create_directory(dir / "d.png");
    auto clash = openFileTarget(dir / "d.png");
    clash->getStream()->writeData("x", 1);
    EXPECT_THROW(clash->commit(), StreamExc);
    clash.reset();
    EXPECT_TRUE(std::filesystem::is_directory(dir / "d.png"));
    EXPECT_EQ(dir.entries().size(), 2u);

    auto nothing = openFileTarget(dir / "never.bin");
    EXPECT_THROW(nothing->commit(), StreamExc);
}
