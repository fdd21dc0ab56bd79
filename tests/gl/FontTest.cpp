// Fonts by family name and from bytes: em sizes, metrics, the sans-serif fallback and the failure
// for bytes that are not a font.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gl/Font.h"
#include "io/DataSource.h"

using namespace loom;
using namespace loom::gl;

namespace {

const std::string PIXEL_FONT = std::string(LOOM_SOURCE_DIR) + "/assets/font/QuennetPixel.ttf";

DataSourceRef bytesSource(std::vector<char>& bytes) {
    return makeBufferSource(Buffer(bytes.data(), int32_t(bytes.size())));
}

}  // namespace

TEST(FontFromData, PixelFontAtTenHasAnEmOfSevenAndAHalfPixels) {
    Font font(openFileSource(PIXEL_FONT), 10);
    EXPECT_EQ(font.getName(), "Quennet Pixel") << "the family named in the data";
    EXPECT_FLOAT_EQ(font.getSize(), 10.0f);
    EXPECT_FLOAT_EQ(font.getEmPixels(), 7.5f);
    // Ascender 1375 and descender 250 on a 1000-unit em, no line gap.
    EXPECT_FLOAT_EQ(font.ascent(), 10.3125f);
    EXPECT_FLOAT_EQ(font.descent(), 1.875f);
    EXPECT_FLOAT_EQ(font.leading(), 0.0f);
}

TEST(FontFromData, MetricsScaleWithTheSize) {
    Font font(openFileSource(PIXEL_FONT), 32);
    EXPECT_FLOAT_EQ(font.getEmPixels(), 24.0f);
    EXPECT_FLOAT_EQ(font.ascent(), 33.0f);
    EXPECT_FLOAT_EQ(font.descent(), 6.0f);
}

TEST(FontFromData, TheFontKeepsItsBytesAlive) {
    Font font;
    {
        std::vector<char> copy;
        {
            auto file = openFileSource(PIXEL_FONT);
            Buffer b = file->getBuffer();
            copy.assign(static_cast<char*>(b.getData()),
                        static_cast<char*>(b.getData()) + b.getDataSize());
        }
        // An owned buffer: the font's reference must keep it after the source handle goes.
        Buffer owned(int32_t(copy.size()));
        std::memcpy(owned.getData(), copy.data(), copy.size());
        font = Font(makeBufferSource(owned), 10);
    }
    Font shared = font;
    EXPECT_EQ(shared.getFace(), font.getFace()) << "copies share one face";
    EXPECT_EQ(font.getFaceFamilyName(), "Quennet Pixel");
}

TEST(FontFromData, BytesThatAreNotAFontRaiseFontInvalidNameExc) {
    std::vector<char> text(4096, 'x');
    EXPECT_THROW(Font(bytesSource(text), 10), FontInvalidNameExc);

    std::vector<char> truncated;
    {
        Buffer b = openFileSource(PIXEL_FONT)->getBuffer();
        truncated.assign(static_cast<char*>(b.getData()), static_cast<char*>(b.getData()) + 12);
    }
    EXPECT_THROW(Font(bytesSource(truncated), 10), FontInvalidNameExc) << "a header alone";

    std::vector<char> empty;
    EXPECT_THROW(Font(bytesSource(empty), 10), FontInvalidNameExc);
    EXPECT_THROW(Font(DataSourceRef(), 10), FontInvalidNameExc);
    try {
        Font(bytesSource(text), 10);
    } catch (const FontInvalidNameExc& e) {
        EXPECT_STREQ(e.what(), "") << "raised without a text";
    }
}

TEST(FontByName, AnInstalledFamilyIsUsedWithAnEmOfSizePixels) {
    Font font("DejaVu Sans", 14);
    EXPECT_EQ(font.getName(), "DejaVu Sans");
    EXPECT_EQ(font.getFaceFamilyName(), "DejaVu Sans");
    EXPECT_FLOAT_EQ(font.getEmPixels(), 14.0f) << "10.5 points at 96 dots per inch";
    EXPECT_GT(font.ascent(), 0.0f);
    EXPECT_GT(font.descent(), 0.0f);
    EXPECT_GE(font.leading(), 0.0f);
    EXPECT_LT(font.ascent() + font.descent(), 14.0f * 1.5f);
}

TEST(FontByName, AFamilyThatIsNotInstalledFallsBackToSansSerif) {
    Font missing("No Such Family Anywhere 7f3a", 14);
    Font sans("sans-serif", 14);
    EXPECT_EQ(missing.getName(), "No Such Family Anywhere 7f3a") << "the name asked for is kept";
    EXPECT_EQ(missing.getFaceFamilyName(), sans.getFaceFamilyName());
    EXPECT_FLOAT_EQ(missing.ascent(), sans.ascent());
}

TEST(FontByName, TheDefaultTextFontResolvesToSomeInstalledFace) {
    // Which face stands in for "Arial" depends on the machine: only that one is found.
    Font arial("Arial", 14);
    EXPECT_FALSE(arial.getFaceFamilyName().empty());
    EXPECT_FLOAT_EQ(arial.getEmPixels(), 14.0f);
}
