#include <gtest/gtest.h>

#include <string>

#include "pipeline/ResultName.h"

TEST(ResultName, UpscalerBeforeTheExtensionAndPngWhereNoWriterTakesIt) {
    struct Case {
        const char* source;
        const char* upscaler;
        const char* expected;
    };
    const Case cases[] = {
        {"/pics/hero.png", "Scale2x", "/pics/heroScale2x.png"},
        {"/art/hero.PNG", "Scale3x", "/art/heroScale3x.PNG"},
        {"/my.dir/picture.bmp", "Eagle2x", "/my.dir/pictureEagle2x.bmp"},
        {"hero.gif", "Scale2x", "heroScale2x.gif"},
        {"hero.tga", "Scale2x", "heroScale2x.png"},
        {"hero.psd", "Scale2x", "heroScale2x.png"},
        {"hero.pnm", "Scale2x", "heroScale2x.png"},
        {"hero.gif.jpg", "Scale4x", "hero.gifScale4x.jpg"},  // only the last dot
        {"hero", "Scale3x", "heroScale3x.png"},
        {"hero.", "Scale3x", "heroScale3x.png"},
        {"/my.dir/picture", "Eagle2x", "/my.dir/pictureEagle2x.png"},  // a folder's dot
        {"/home/me/.sprite", "None", "/home/me/.spriteNone.png"},      // a hidden file
    };
    for (const Case& c : cases)
        EXPECT_EQ(loom::resultNameFor(c.source, c.upscaler), c.expected) << c.source;
}
