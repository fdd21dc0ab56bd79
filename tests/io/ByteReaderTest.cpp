#include <gtest/gtest.h>

#include <string>

#include "io/codec/ByteReader.h"

using namespace loom;

namespace {

std::string failureOf(void (*read)(ByteReader&), ByteReader reader) {
    try {
        read(reader);
        return "read";
    } catch (const ImageIoFailedLoadExc& e) {
        return e.what();
    }
}

}  // namespace

TEST(ByteReader, ReadsBothByteOrdersAndNeverPastItsEnd) {
    const uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7};
    ByteReader reader(bytes, sizeof(bytes), "XYZ");
    EXPECT_EQ(reader.u16be(), 0x0102);
    EXPECT_EQ(reader.u32be(), 0x03040506u);
    reader.seek(0);
    EXPECT_EQ(reader.u32(), 0x04030201u);
    EXPECT_EQ(failureOf([](ByteReader& r) { r.u32be(); }, reader), "XYZ: truncated data");
    EXPECT_EQ(failureOf([](ByteReader& r) { r.seek(8); }, reader), "XYZ: truncated data");
}

// A chunk's reader ends where the chunk does, however much of the file follows.
TEST(ByteReader, ASubReaderEndsWithItsChunk) {
    const uint8_t bytes[] = {0, 0xA, 0xB, 0xC, 0xD, 9, 9, 9};
    ByteReader file(bytes, sizeof(bytes), "XYZ");
    file.skip(1);
    ByteReader chunk = file.sub(3);
    EXPECT_EQ(file.position(), 4u);
    EXPECT_EQ(chunk.data(), bytes + 1);
    EXPECT_EQ(chunk.u16be(), 0x0A0B);
    EXPECT_EQ(failureOf([](ByteReader& r) { r.u16(); }, chunk), "XYZ: truncated data");
    EXPECT_EQ(failureOf([](ByteReader& r) { r.sub(5); }, file), "XYZ: truncated data");
}
