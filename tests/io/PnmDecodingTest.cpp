#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "io/DecodedPixels.h"
#include "io/FakeImages.h"
#include "io/codec/ImageSourceFilePnm.h"

using namespace loom;
using namespace loom::test;

namespace {

using Bytes = std::vector<uint8_t>;

Pixel gray(uint8_t v) { return {v, v, v, 255}; }

Bytes withRaster(const std::string& header, const Bytes& raster) {
    Bytes file = bytesOf(header);
    file.insert(file.end(), raster.begin(), raster.end());
    return file;
}

std::string pam(const std::string& fields) { return "P7\n" + fields + "ENDHDR\n"; }

}  // namespace

// Gray comes as (v, v, v); maxvals other than 255 are scaled with rounding, which truncation
// would get wrong for 4 of 7 (145.7) and 2 of 1000 (0.51).
TEST(PnmDecoding, EveryKindGivesItsPixels) {
    const struct {
        const char* name;
        Bytes file;
        std::vector<Pixel> expected;
    } cases[] = {
        {"P1 with comments, digits run together; 1 is black",
         bytesOf("P1\n# a comment\n3 # another\n2\n1 0 1\n010\n"),
         {BLACK, WHITE, BLACK, WHITE, BLACK, WHITE}},
        {"P2, maxval 7", bytesOf("P2 3 1 7\n0 4 7\n"), {BLACK, gray(146), WHITE}},
        {"P2, maxval 1", bytesOf("P2\n2 1\n1\n0 1"), {BLACK, WHITE}},
        {"P3, comments in the header",
         bytesOf("P3 # rgb\n2 1 #size\n255\n255 0 0 0 0 255\n"),
         {RED, BLUE}},
        {"P3, maxval 1000", bytesOf("P3 1 1 1000\n1000 500 2\n"), {{255, 128, 1, 255}}},
        {"P4, rows of whole bytes",
         withRaster("P4\n10 2\n", {0xA0, 0x40, 0xFF, 0xC0}),
         {BLACK, WHITE, BLACK, WHITE, WHITE, WHITE, WHITE, WHITE, WHITE, BLACK,  //
          BLACK, BLACK, BLACK, BLACK, BLACK, BLACK, BLACK, BLACK, BLACK, BLACK}},
        {"P5, maxval 255, a comment after the maxval",
         withRaster("P5 2 1 255# c\n", {0, 200}),
         {BLACK, gray(200)}},
        {"P5, maxval 1000, big-endian",
         withRaster("P5 2 1 1000\n", {0x03, 0xE8, 0x01, 0xF4}),
         {WHITE, gray(128)}},
        {"P5, maxval 65535", withRaster("P5 2 1 65535\n", {0xFD, 0x69, 0xFF, 0xFF}), {gray(252), WHITE}},
        {"P6", withRaster("P6 2 1 255\n", {255, 0, 0, 1, 2, 3}), {RED, {1, 2, 3, 255}}},
        {"PAM GRAYSCALE with comments",
         withRaster(pam("# c\nWIDTH 2\nHEIGHT 1\n# c\nDEPTH 1\nMAXVAL 255\nTUPLTYPE GRAYSCALE\n"),
                    {10, 20}),
         {gray(10), gray(20)}},
        {"PAM BLACKANDWHITE: 1 is white",
         withRaster(pam("WIDTH 2\nHEIGHT 1\nDEPTH 1\nMAXVAL 1\nTUPLTYPE BLACKANDWHITE\n"), {0, 1}),
         {BLACK, WHITE}},
        {"PAM BLACKANDWHITE_ALPHA",
         withRaster(pam("WIDTH 2\nHEIGHT 1\nDEPTH 2\nMAXVAL 1\nTUPLTYPE BLACKANDWHITE_ALPHA\n"),
                    {1, 0, 0, 1}),
         {{255, 255, 255, 0}, BLACK}},
        {"PAM GRAYSCALE_ALPHA, maxval 1000",
         withRaster(pam("WIDTH 1\nHEIGHT 1\nDEPTH 2\nMAXVAL 1000\nTUPLTYPE GRAYSCALE_ALPHA\n"),
                    {0x01, 0xF4, 0x03, 0xE8}),
         {{128, 128, 128, 255}}},
        {"PAM RGB",
         withRaster(pam("WIDTH 1\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\n"), {1, 2, 3}),
         {{1, 2, 3, 255}}},
        {"PAM RGB_ALPHA",
         withRaster(pam("WIDTH 1\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n"), {1, 2, 3, 4}),
         {{1, 2, 3, 4}}},
        {"PAM without a tuple type: depth 3 is RGB",
         withRaster(pam("WIDTH 1\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\n"), {1, 2, 3}),
         {{1, 2, 3, 255}}},
        {"two images in one file: the first",
         withRaster("P5 1 1 255\n", {16, 'P', '5', ' ', '1', ' ', '1', ' ', '2', '5', '5', '\n', 32}),
         {gray(16)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodePixels(ImageSourceFilePnm::create, c.file).pixels, c.expected) << c.name;
}

// A maxval of 65535 hands its samples on whole, read big-endian; the row converters reduce them
// as they reduce every 16-bit image.
TEST(PnmDecoding, SixteenBitSamplesAreKeptWhole) {
    for (const Bytes& file :
         {withRaster("P5 2 1 65535\n", {0xFD, 0x69, 0x00, 0x01}), bytesOf("P2 2 1 65535\n64873 1\n")}) {
        const ImageSourceRef source = decodeBytes(ImageSourceFilePnm::create, file);
        ASSERT_EQ(source->getDataType(), ImageIo::UINT16);
        auto target = std::make_shared<FakeTarget>(2, 1, ImageIo::GRAY, ImageIo::UINT16, ImageIo::Y);
        source->load(target);
        EXPECT_EQ(target->samples<uint16_t>(), (std::vector<uint16_t>{64873, 1}));
    }
}

TEST(PnmDecoding, BrokenFilesAreRefusedWithTheReason) {
    const struct {
        Bytes file;
        const char* message;
    } refusals[] = {
        {bytesOf("P5 2 2 0\n...."), "PNM: bad maxval 0"},
        {bytesOf("P5 2 2 65536\n...."), "PNM: bad maxval 65536"},
        {bytesOf("P5 2 2 255\n..."), "PNM: truncated data"},
        {bytesOf("P6 2 1 1000\n1234567890"), "PNM: truncated data"},
        {bytesOf("P4 9 2\n..."), "PNM: truncated data"},
        {bytesOf("P2 2 1 7\n3"), "PNM: truncated data"},
        {bytesOf("P2 2 1 7\n3 8\n"), "PNM: sample 8 above maxval 7"},
        {bytesOf("P1 2 1\n0 2\n"), "PNM: bad bit"},
        {bytesOf("P3 x 1 255\n"), "PNM: bad width"},
        {bytesOf("P5 99999999999 1 255\n"), "PNM: width out of range"},
        {bytesOf("P5 0 4 255\n"), "the image has no pixels (0 x 4)"},
        {bytesOf("P6 40000 1 255\n"),
         "PNM: image too large: 40000 x 1 pixels"
         " (the most is 32768 on a side and 268435456 in all)"},
        {bytesOf(pam("WIDTH 1\nHEIGHT 1\nMAXVAL 255\n") + "."),
         "PNM: PAM header without WIDTH, HEIGHT, DEPTH or MAXVAL"},
        {bytesOf(pam("WIDTH 1\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE CMYK\n") + "...."),
         "PNM: unsupported tuple type CMYK"},
        {bytesOf(pam("WIDTH 1\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE GRAYSCALE\n") + "..."),
         "PNM: depth 3 does not fit tuple type GRAYSCALE"},
        {bytesOf("P7\nWIDTH 1\nHEIGHT 1\n"), "PNM: truncated data"},
    };
    for (const auto& r : refusals)
        EXPECT_EQ(failureOf(ImageSourceFilePnm::create, r.file), r.message)
            << std::string(r.file.begin(), r.file.end());
    for (const char* foreign : {"P8 1 1 255\n.", "P5", "Plain text\n"})
        EXPECT_THROW(decodeBytes(ImageSourceFilePnm::create, bytesOf(foreign)), ImageIoNotThisFormatExc)
            << foreign;
}
