#include <gtest/gtest.h>

#include <filesystem>

#include "image/Surface.h"
#include "io/FakeImages.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/TempDir.h"

using namespace loom;
using loom::test::TempDir;

TEST(SafeWrite, UnknownExtensionIsRefusedBeforeAnythingIsMade) {
    TempDir dir;
    auto source = std::make_shared<ImageSourceSurface>(Surface(2, 2, false));
    EXPECT_THROW(writeImage(dir / "new/sub/out.xyz", source), ImageIoUnknownExtensionExc);
    EXPECT_THROW(writeImage(dir / "noextension", source), ImageIoUnknownExtensionExc);
    EXPECT_THROW(writeImage(dir / "layers.psd", source), ImageIoUnknownExtensionExc);
    EXPECT_TRUE(dir.entries().empty()) << "not even a directory";
    EXPECT_NO_THROW(writeImage(dir / "out.xyz", source, {}, "PNG")) << "an explicit extension wins";
    EXPECT_EQ(loom::test::readFile(dir / "out.xyz")[1], 'P');
}

TEST(SafeWrite, EmptyImageIsRefusedInEveryFormatBeforeAnythingIsMade) {
    TempDir dir;
    for (const Surface& empty : {Surface(0, 3, false), Surface(3, 0, true)})
        for (const std::string& ext : getWriteExtensions()) {
            try {
                writeImage(dir / ("new/out." + ext), std::make_shared<ImageSourceSurface>(empty));
                ADD_FAILURE() << ext << " wrote an empty image";
            } catch (const ImageIoExc& e) {
                EXPECT_NE(std::string(e.what()).find("empty image"), std::string::npos)
                    << ext << ": " << e.what();
            }
        }
    EXPECT_TRUE(dir.entries().empty()) << "not even a directory";
}

TEST(SafeWrite, ExistingFileSurvivesAFailedWrite) {
    TempDir dir;
    loom::test::writeFile(dir / "keep.png", {'o', 'l', 'd'});
    std::vector<uint8_t> pixels(3 * 4 * 4, 9);
    auto failing = std::make_shared<loom::test::FakeSource>(4, 4, ImageIo::RGB, ImageIo::UINT8,
                                                            ImageIo::RGB_ORDER, pixels);
    failing->failAtRow(2);
    for (const std::string ext : {"png", "tif", "jpg", "bmp", "webp", "gif"}) {
        loom::test::writeFile(dir / ("keep." + ext), {'o', 'l', 'd'});
        EXPECT_THROW(writeImage(dir / ("keep." + ext), failing), std::runtime_error) << ext;
        EXPECT_EQ(loom::test::readFile(dir / ("keep." + ext)), (std::vector<uint8_t>{'o', 'l', 'd'}))
            << ext;
    }
    EXPECT_EQ(dir.entries().size(), 6u) << "no temporary file left behind";

    // An encoder refusal (JPEG cannot hold 70000 pixels across) also leaves the old file.
    Surface wide(70000, 1, false);
    EXPECT_THROW(writeImage(dir / "keep.jpg", std::make_shared<ImageSourceSurface>(wide)),
                 ImageIoFailedLoadExc);
    EXPECT_EQ(loom::test::readFile(dir / "keep.jpg"), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(dir.entries().size(), 6u);
}

TEST(SafeWrite, UnwritableDirectoryGivesAReason) {
    TempDir dir;
    loom::test::writeFile(dir / "file", {1});
    try {
        writeImage(dir / "file/out.png", std::make_shared<ImageSourceSurface>(Surface(1, 1, false)));
        FAIL() << "expected a failure";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("Not a directory"), std::string::npos) << e.what();
    }
}

TEST(SafeWrite, NullSurfaceIsRefused) { EXPECT_THROW(ImageSourceSurface{Surface()}, ImageIoExc); }
